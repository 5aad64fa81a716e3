#include "editor/EditorProp.h"

#include "platform/MemIniFile.h"

#include <algorithm>

namespace editor {

QString DefaultFollowStr()
{
    return QStringLiteral(u"、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ");
}

QString DefaultLeadStr()
{
    return QStringLiteral(u"（［｛「『([{｢");
}

QString DefaultPunctuationStr()
{
    return QStringLiteral(u"、。，．,.｡､");
}

int BoundTabSpaceCount(int value)
{
    return std::clamp(value, 2, 8) & ~1;
}

int BoundWrapByte(int value)
{
    return std::clamp(value, 20, 250);
}

void TEditorProp::Bound()
{
    Caret.TabSpaceCount = BoundTabSpaceCount(Caret.TabSpaceCount);
    WrapOption.WrapByte = BoundWrapByte(WrapOption.WrapByte);
    Font.Size = std::clamp(Font.Size, 4, 144);
    Leftbar.Column = std::clamp(Leftbar.Column, 1, 10);
}

namespace {

// Reads and writes every property the same way: `visit(key, member)` for each.
template <typename Prop, typename Visitor>
void VisitProperties(Prop& p, Visitor&& visit)
{
    visit("Color.Text", p.Color.Text);
    visit("Color.Background", p.Color.Background);
    visit("Color.SelectText", p.Color.SelectText);
    visit("Color.SelectBackground", p.Color.SelectBackground);
    visit("Caret.FreeCaret", p.Caret.FreeCaret);
    visit("Caret.FreeRow", p.Caret.FreeRow);
    visit("Caret.AutoIndent", p.Caret.AutoIndent);
    visit("Caret.BackSpaceUnIndent", p.Caret.BackSpaceUnIndent);
    visit("Caret.InTab", p.Caret.InTab);
    visit("Caret.KeepCaret", p.Caret.KeepCaret);
    visit("Caret.LockScroll", p.Caret.LockScroll);
    visit("Caret.NextLine", p.Caret.NextLine);
    visit("Caret.TabIndent", p.Caret.TabIndent);
    visit("Caret.PrevSpaceIndent", p.Caret.PrevSpaceIndent);
    visit("Caret.SoftTab", p.Caret.SoftTab);
    visit("Caret.TabSpaceCount", p.Caret.TabSpaceCount);
    visit("Caret.SelMove", p.Caret.SelMove);
    visit("Font.Name", p.Font.Name);
    visit("Font.Size", p.Font.Size);
    visit("Leftbar.Visible", p.Leftbar.Visible);
    visit("Leftbar.Column", p.Leftbar.Column);
    visit("Leftbar.ZeroBase", p.Leftbar.ZeroBase);
    visit("Leftbar.Color", p.Leftbar.Color);
    visit("Leftbar.BkColor", p.Leftbar.BkColor);
    visit("Margin.Left", p.Margin.Left);
    visit("Margin.Top", p.Margin.Top);
    visit("Margin.Line", p.Margin.Line);
    visit("Margin.Character", p.Margin.Character);
    const std::pair<const char*, decltype(&p.Marks.RetMark)> marks[] = {
        {"Marks.RetMark", &p.Marks.RetMark},     {"Marks.EofMark", &p.Marks.EofMark},
        {"Marks.WrapMark", &p.Marks.WrapMark},   {"Marks.HideMark", &p.Marks.HideMark},
        {"Marks.Underline", &p.Marks.Underline},
    };
    for (const auto& [name, mark] : marks) {
        visit(QStringLiteral("%1.Visible").arg(QLatin1String(name)), mark->Visible);
        visit(QStringLiteral("%1.Color").arg(QLatin1String(name)), mark->Color);
    }
    visit("Ruler.Visible", p.Ruler.Visible);
    visit("Ruler.Color", p.Ruler.Color);
    visit("Ruler.BkColor", p.Ruler.BkColor);
    visit("Ruler.MarkColor", p.Ruler.MarkColor);
    visit("ScrollBars", p.ScrollBars);
    visit("WordWrap", p.WordWrap);
    visit("WrapOption.FollowPunctuation", p.WrapOption.FollowPunctuation);
    visit("WrapOption.FollowRetMark", p.WrapOption.FollowRetMark);
    visit("WrapOption.Leading", p.WrapOption.Leading);
    visit("WrapOption.WordBreak", p.WrapOption.WordBreak);
    visit("WrapOption.WrapByte", p.WrapOption.WrapByte);
    visit("WrapOption.FollowStr", p.WrapOption.FollowStr);
    visit("WrapOption.LeadStr", p.WrapOption.LeadStr);
    visit("WrapOption.PunctuationStr", p.WrapOption.PunctuationStr);
}

QString KeyOf(const QString& ident, const QString& name)
{
    return ident + u'.' + name;
}

// Colours as "#RRGGBB"; strings quoted so that the file's trimming keeps their spaces.
struct Reader {
    const platform::MemIniFile& ini;
    const QString& section;
    const QString& ident;

    QString Raw(const QString& name) const
    {
        return ini.ReadString(section, KeyOf(ident, name), QString());
    }
    void operator()(const QString& name, bool& value) const
    {
        const QString raw = Raw(name);
        if (raw == u"1" || raw == u"0")
            value = raw == u"1";
    }
    void operator()(const QString& name, int& value) const
    {
        bool ok = false;
        const int parsed = Raw(name).toInt(&ok, 10);
        if (ok)
            value = parsed;
    }
    void operator()(const QString& name, Rgb& value) const
    {
        const QString raw = Raw(name);
        bool ok = false;
        const unsigned parsed = raw.mid(1).toUInt(&ok, 16);
        if (ok && raw.size() == 7 && raw.startsWith(u'#'))
            value = parsed;
    }
    void operator()(const QString& name, QString& value) const
    {
        const QString raw = Raw(name);
        if (raw.size() >= 2 && raw.startsWith(u'"') && raw.endsWith(u'"'))
            value = raw.mid(1, raw.size() - 2);
    }
    void operator()(const QString& name, TScrollBars& value) const
    {
        int number = -1;
        (*this)(name, number);
        if (number >= 0 && number <= 3)
            value = static_cast<TScrollBars>(number);
    }
};

struct Writer {
    platform::MemIniFile& ini;
    const QString& section;
    const QString& ident;

    void operator()(const QString& name, bool value) const { ini.WriteBool(section, KeyOf(ident, name), value); }
    void operator()(const QString& name, int value) const { ini.WriteInteger(section, KeyOf(ident, name), value); }
    void operator()(const QString& name, Rgb value) const
    {
        ini.WriteString(section, KeyOf(ident, name),
                        QStringLiteral("#%1").arg(value & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper());
    }
    void operator()(const QString& name, const QString& value) const
    {
        ini.WriteString(section, KeyOf(ident, name), u'"' + value + u'"');
    }
    void operator()(const QString& name, TScrollBars value) const
    {
        ini.WriteInteger(section, KeyOf(ident, name), static_cast<int>(value));
    }
};

}  // namespace

void TEditorProp::ReadFrom(const platform::MemIniFile& ini, const QString& section, const QString& ident)
{
    const Reader reader{ini, section, ident};
    VisitProperties(*this, [&](const auto& name, auto& member) { reader(QString(name), member); });
    Bound();
}

void TEditorProp::WriteTo(platform::MemIniFile& ini, const QString& section, const QString& ident) const
{
    const Writer writer{ini, section, ident};
    VisitProperties(*this, [&](const auto& name, const auto& member) { writer(QString(name), member); });
}

void TEditorProp::ReadIni(const QString& fileName, const QString& section, const QString& ident)
{
    const platform::MemIniFile ini(fileName);
    ReadFrom(ini, section, ident);
}

void TEditorProp::WriteIni(const QString& fileName, const QString& section, const QString& ident) const
{
    platform::MemIniFile ini(fileName);
    WriteTo(ini, section, ident);
    ini.UpdateFile();
}

}  // namespace editor
