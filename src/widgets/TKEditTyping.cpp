// Typing, the clipboard, the context menu, drops and composed characters of
// TKEdit: every way text gets into the edit passes the rules of its mode.
#include "widgets/MaskText.h"
#include "widgets/TKEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace korvex {

bool TKEdit::typesText(const QKeyEvent *event)
{
    // Delete carries the control character 127 on some platforms: it types
    // nothing.
    const QString typed = event->text();
    return !typed.isEmpty() && typed.front().category() != QChar::Other_Control
        && !(event->modifiers() & Qt::ControlModifier);
}

bool TKEdit::changesText(const QKeyEvent *event)
{
    if (typesText(event))
        return true;
    const int key = event->key();
    return key == Qt::Key_Backspace || key == Qt::Key_Delete || event->matches(QKeySequence::Paste)
        || event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo)
        || event->matches(QKeySequence::Redo) || event->matches(QKeySequence::DeleteEndOfLine)
        || event->matches(QKeySequence::DeleteCompleteLine);
}

bool TKEdit::clipboardKey(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteText();
        return true;
    }
    // Shift+Delete cuts a selection; without one it is a Delete.
    if (event->matches(QKeySequence::Cut) && hasSelectedText()) {
        cutText();
        return true;
    }
    return false;
}

void TKEdit::typeText(const QString &typed)
{
    if (isReadOnly())
        return;
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    if (EditType == TTypeEdit::teMask) {
        const MaskText::Mask mask(MaskEdit.Mask);
        MaskText::Edit edit{text(), selStart};
        int from = selStart;
        int to = hasSelectedText() ? selectionEnd() : selStart;
        bool typedDigit = false;
        for (const QChar c : typed) {
            if ((StringEdit.FiltrUse && !StringEdit.Filtr.contains(c)) || !c.isDigit() || !mask.acceptsDigits)
                continue;
            edit = MaskText::typeDigit(edit, from, to, c, mask);
            from = to = edit.caret;
            typedDigit = true;
        }
        if (typedDigit) {
            setText(edit.text);
            setCursorPosition(edit.caret);
        }
        return;
    }
    if (isNumberMode()) {
        // Each character sees the text the ones before it left.
        for (QChar c : typed)
            if (numberTyped(c))
                insert(QString(c));
        return;
    }
    QString kept;
    QChar previous = selStart > 0 ? text().at(selStart - 1) : QChar();
    for (const QChar c : typed) {
        if (StringEdit.FiltrUse && !StringEdit.Filtr.contains(c))
            continue;
        previous = convertCase(c, previous.isNull() || previous == u' ');
        kept += previous;
    }
    if (!kept.isEmpty())
        insert(kept);
}

void TKEdit::cutText()
{
    if (!hasSelectedText())
        return;
    copy(); // copies nothing from a password field
    deleteSelection();
}

void TKEdit::pasteText()
{
    typeText(QGuiApplication::clipboard()->text());
}

void TKEdit::deleteSelection()
{
    if (isReadOnly() || !hasSelectedText())
        return;
    if (EditType != TTypeEdit::teMask) {
        del();
        return;
    }
    const MaskText::Edit after = MaskText::erase({text(), selectionStart()}, selectionStart(), selectionEnd(), true,
                                                 MaskText::Mask(MaskEdit.Mask));
    setText(after.text);
    setCursorPosition(after.caret);
}

void TKEdit::contextMenuEvent(QContextMenuEvent *event)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(u"EditMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool selection = hasSelectedText();
    const bool shown = echoMode() == QLineEdit::Normal;
    const bool editable = !isReadOnly();
    auto add = [this, menu](const QString &name, const QString &caption, QKeySequence::StandardKey keys,
                            bool enabled, auto slot) {
        const QString shortcut = QKeySequence(keys).toString(QKeySequence::NativeText);
        QAction *action = menu->addAction(shortcut.isEmpty() ? caption : caption + u'\t' + shortcut);
        action->setObjectName(name);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    if (editable) {
        add(u"edit-undo"_s, u"&Zpět"_s, QKeySequence::Undo, isUndoAvailable(), &QLineEdit::undo);
        add(u"edit-redo"_s, u"Z&novu"_s, QKeySequence::Redo, isRedoAvailable(), &QLineEdit::redo);
        menu->addSeparator();
        add(u"edit-cut"_s, u"Vyj&mout"_s, QKeySequence::Cut, selection && shown, &TKEdit::cutText);
    }
    add(u"edit-copy"_s, u"&Kopírovat"_s, QKeySequence::Copy, selection && shown, &QLineEdit::copy);
    if (editable) {
        add(u"edit-paste"_s, u"V&ložit"_s, QKeySequence::Paste, !QGuiApplication::clipboard()->text().isEmpty(),
            &TKEdit::pasteText);
        add(u"edit-delete"_s, u"&Odstranit"_s, QKeySequence::UnknownKey, selection, &TKEdit::deleteSelection);
    }
    menu->addSeparator();
    add(u"select-all"_s, u"Vybrat &vše"_s, QKeySequence::SelectAll, !text().isEmpty() && selectedText() != text(),
        &QLineEdit::selectAll);
    menu->popup(event->globalPos());
}

void TKEdit::dropEvent(QDropEvent *event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    typeText(event->mimeData()->text());
    event->acceptProposedAction();
}

void TKEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // A finished composition is typed; one still going on is the platform's.
    if (isReadOnly() || event->commitString().isEmpty() || !event->preeditString().isEmpty()
        || event->replacementLength() != 0) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent rest(QString(), event->attributes());
    QLineEdit::inputMethodEvent(&rest);
    typeText(event->commitString());
    event->accept();
}

} // namespace korvex
