// editor-demo FILE: the editor control on its own, with its caret, mark and wrap options
// switchable from the menu, so that it can be tried by hand.
#include "editor/TEditor.h"
#include "platform/Exception.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

using editor::TEditor;

namespace {

template <typename Group>
void AddToggle(QMenu* menu, TEditor* editor, const QString& caption, const Group& (TEditor::*get)() const,
               void (TEditor::*set)(const Group&), bool Group::*member)
{
    QAction* action = menu->addAction(caption);
    action->setCheckable(true);
    action->setChecked((editor->*get)().*member);
    QObject::connect(action, &QAction::toggled, editor, [=](bool on) {
        Group group = (editor->*get)();
        group.*member = on;
        (editor->*set)(group);
    });
}

void AddMarkToggle(QMenu* menu, TEditor* editor, const QString& caption, editor::TEditorMark editor::TEditorMarks::*mark)
{
    QAction* action = menu->addAction(caption);
    action->setCheckable(true);
    action->setChecked((editor->Marks().*mark).Visible);
    QObject::connect(action, &QAction::toggled, editor, [=](bool on) {
        editor::TEditorMarks marks = editor->Marks();
        (marks.*mark).Visible = on;
        editor->SetMarks(marks);
    });
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto* editor = new TEditor(&window);
    window.setCentralWidget(editor);
    window.resize(900, 650);
    editor::TEditorProp prop;
    prop.Leftbar.Visible = true;
    prop.Ruler.Visible = true;
    editor->Assign(prop);

    const QString fileName = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto showError = [&](const platform::Exception& error) {
        QMessageBox::critical(&window, QStringLiteral("editor-demo"), error.Message());
    };
    if (!fileName.isEmpty() && QFileInfo::exists(fileName)) {
        try {
            editor->Lines().LoadFromFile(fileName);
            if (editor->Lines().LoadWasLossy()) {
                editor->SetReadOnly(true);
                window.statusBar()->showMessage(QStringLiteral(u"読み込めない文字を含むため、読み取り専用で開きました。"));
            }
        } catch (const platform::Exception& error) {
            showError(error);
        }
    }
    window.setWindowTitle((fileName.isEmpty() ? QStringLiteral(u"無題") : QFileInfo(fileName).fileName()) +
                          QStringLiteral(" - editor-demo"));

    QMenu* file = window.menuBar()->addMenu(QStringLiteral(u"ファイル(&F)"));
    QAction* save = file->addAction(QStringLiteral(u"上書き保存(&S)"), QKeySequence::Save);
    save->setEnabled(!fileName.isEmpty());
    QObject::connect(save, &QAction::triggered, editor, [&] {
        try {
            editor->Lines().SaveToFile(fileName);
            editor->SetModified(false);
        } catch (const platform::Exception& error) {
            showError(error);
        }
    });
    file->addAction(QStringLiteral(u"閉じる(&X)"), &window, &QWidget::close);

    using editor::TEditorCaret;
    QMenu* caret = window.menuBar()->addMenu(QStringLiteral(u"キャレット(&C)"));
    const std::pair<const char16_t*, bool TEditorCaret::*> caretOptions[] = {
        {u"フリーキャレット", &TEditorCaret::FreeCaret},     {u"自由縦移動許可", &TEditorCaret::FreeRow},
        {u"オートインデント", &TEditorCaret::AutoIndent},    {u"バックスペースアンインデント", &TEditorCaret::BackSpaceUnIndent},
        {u"インタブ", &TEditorCaret::InTab},                 {u"キープキャレット", &TEditorCaret::KeepCaret},
        {u"ロックスクロール", &TEditorCaret::LockScroll},    {u"ネクストライン", &TEditorCaret::NextLine},
        {u"タブインデント", &TEditorCaret::TabIndent},       {u"スペースインデント", &TEditorCaret::PrevSpaceIndent},
        {u"ソフトタブ", &TEditorCaret::SoftTab},             {u"テキストドラッグ", &TEditorCaret::SelMove},
    };
    for (const auto& [caption, member] : caretOptions)
        AddToggle(caret, editor, QString::fromUtf16(caption), &TEditor::Caret, &TEditor::SetCaret, member);

    using editor::TEditorMarks;
    QMenu* marks = window.menuBar()->addMenu(QStringLiteral(u"マーク(&M)"));
    const std::pair<const char16_t*, editor::TEditorMark TEditorMarks::*> markOptions[] = {
        {u"改行マーク", &TEditorMarks::RetMark},   {u"EOF マーク", &TEditorMarks::EofMark},
        {u"WRAP マーク", &TEditorMarks::WrapMark}, {u"HIDE マーク", &TEditorMarks::HideMark},
        {u"アンダーライン", &TEditorMarks::Underline},
    };
    for (const auto& [caption, member] : markOptions)
        AddMarkToggle(marks, editor, QString::fromUtf16(caption), member);

    using editor::TEditorWrapOption;
    QMenu* wrap = window.menuBar()->addMenu(QStringLiteral(u"折り返し(&W)"));
    QAction* wordWrap = wrap->addAction(QStringLiteral(u"折り返し"));
    wordWrap->setCheckable(true);
    QObject::connect(wordWrap, &QAction::toggled, editor, &TEditor::SetWordWrap);
    const std::pair<const char16_t*, bool TEditorWrapOption::*> wrapOptions[] = {
        {u"句読点ぶら下げ", &TEditorWrapOption::FollowPunctuation},
        {u"改行マークぶら下げ", &TEditorWrapOption::FollowRetMark},
        {u"追い出し", &TEditorWrapOption::Leading},
        {u"英文ワードラップ", &TEditorWrapOption::WordBreak},
    };
    for (const auto& [caption, member] : wrapOptions)
        AddToggle(wrap, editor, QString::fromUtf16(caption), &TEditor::WrapOption, &TEditor::SetWrapOption, member);
    for (const int width : {20, 40, 80}) {
        wrap->addAction(QStringLiteral(u"折り返し文字数 %1").arg(width), editor, [=] {
            TEditorWrapOption option = editor->WrapOption();
            option.WrapByte = width;
            editor->SetWrapOption(option);
        });
    }

    const auto showPlace = [&] {
        const editor::TextPos caret = editor->Core().Caret();
        window.statusBar()->showMessage(QStringLiteral(u"%1 行 %2 桁%3%4")
                                            .arg(caret.line + 1)
                                            .arg(editor->Core().CaretX() + 1)
                                            .arg(editor->Modified() ? QStringLiteral(u"  変更あり") : QString())
                                            .arg(editor->ReadOnly() ? QStringLiteral(u"  読み取り専用") : QString()));
    };
    QObject::connect(editor, &TEditor::CaretMoved, &window, showPlace);
    window.show();
    editor->setFocus();
    return app.exec();
}
