#pragma once

#include <QString>

namespace platform {
class MemIniFile;
}

namespace editor {

// Colours are 0xRRGGBB.
using Rgb = unsigned;

struct TEditorCaret {
    bool FreeCaret = true;
    bool FreeRow = false;
    bool AutoIndent = true;
    bool BackSpaceUnIndent = true;
    bool InTab = false;
    bool KeepCaret = false;
    bool LockScroll = false;
    bool NextLine = false;
    bool TabIndent = false;
    bool PrevSpaceIndent = false;
    bool SoftTab = false;
    int TabSpaceCount = 8;
    bool SelMove = true;
    bool operator==(const TEditorCaret&) const = default;
};

struct TEditorMark {
    bool Visible = false;
    Rgb Color = 0x0080C0;
    bool operator==(const TEditorMark&) const = default;
};

struct TEditorMarks {
    TEditorMark RetMark{false, 0x0080C0};
    TEditorMark EofMark{false, 0x0080C0};
    TEditorMark WrapMark{false, 0x0080C0};
    TEditorMark HideMark{false, 0xC00000};
    TEditorMark Underline{false, 0x0000C0};
    bool operator==(const TEditorMarks&) const = default;
};

QString DefaultFollowStr();       // characters that may not begin a row
QString DefaultLeadStr();         // characters that may not end a row
QString DefaultPunctuationStr();  // punctuation that may hang past the width

struct TEditorWrapOption {
    bool FollowPunctuation = false;
    bool FollowRetMark = false;
    bool Leading = false;
    bool WordBreak = false;
    int WrapByte = 80;
    QString FollowStr = DefaultFollowStr();
    QString LeadStr = DefaultLeadStr();
    QString PunctuationStr = DefaultPunctuationStr();
    bool operator==(const TEditorWrapOption&) const = default;
};

struct TEditorFont {
    QString Name = QStringLiteral("IPAGothic");
    int Size = 11;  // points
    bool operator==(const TEditorFont&) const = default;
};

struct TEditorLeftbar {
    bool Visible = false;
    int Column = 5;  // digits reserved for the line number
    bool ZeroBase = false;
    Rgb Color = 0x808080;
    Rgb BkColor = 0xF0F0F0;
    bool operator==(const TEditorLeftbar&) const = default;
};

struct TEditorRuler {
    bool Visible = false;
    Rgb Color = 0x606060;
    Rgb BkColor = 0xF0F0F0;
    Rgb MarkColor = 0xC00000;  // the caret column
    bool operator==(const TEditorRuler&) const = default;
};

struct TEditorColor {
    Rgb Text = 0x000000;
    Rgb Background = 0xFFFFFF;
    Rgb SelectText = 0xFFFFFF;
    Rgb SelectBackground = 0x3875D7;
    bool operator==(const TEditorColor&) const = default;
};

struct TEditorMargin {
    int Left = 4;       // pixels between the left bar and the text
    int Top = 2;        // pixels above the first row
    int Line = 2;       // extra pixels between rows
    int Character = 0;  // extra pixels per cell
    bool operator==(const TEditorMargin&) const = default;
};

enum class TScrollBars { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

// Bounds the control keeps: tab width 2..8 rounded down to even, wrap width 20..250.
int BoundTabSpaceCount(int value);
int BoundWrapByte(int value);

// The editor's whole property set, stored in an ini section under one ident.
class TEditorProp {
public:
    TEditorColor Color;
    TEditorCaret Caret;
    TEditorFont Font;
    TEditorLeftbar Leftbar;
    TEditorMargin Margin;
    TEditorMarks Marks;
    TEditorRuler Ruler;
    TScrollBars ScrollBars = TScrollBars::Both;
    bool WordWrap = false;
    TEditorWrapOption WrapOption;

    void Assign(const TEditorProp& source) { *this = source; }
    // Applies the control's bounds to the numbers.
    void Bound();

    // A missing or unreadable key keeps its default on its own; ReadIni reads the file from disk.
    void ReadIni(const QString& fileName, const QString& section, const QString& ident);
    void WriteIni(const QString& fileName, const QString& section, const QString& ident) const;
    void ReadFrom(const platform::MemIniFile& ini, const QString& section, const QString& ident);
    void WriteTo(platform::MemIniFile& ini, const QString& section, const QString& ident) const;

    bool operator==(const TEditorProp&) const = default;
};

}  // namespace editor
