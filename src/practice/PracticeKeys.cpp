#include "practice/PracticeKeys.h"

namespace korvana {

KeyCommand keyCommand(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        return KeyCommand::Next;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCommand::ReadAloud;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        return KeyCommand::Previous;
    case Qt::Key_Delete:
    case Qt::Key_S:
        return KeyCommand::MarkLearned;
    case Qt::Key_Space:
    case Qt::Key_P:
        return KeyCommand::PlaySound;
    case Qt::Key_G:
        return KeyCommand::TogglePicture;
    case Qt::Key_D:
        return KeyCommand::MarkDifficult;
    case Qt::Key_Backspace:
        return KeyCommand::FlashNow;
    case Qt::Key_Insert:
        return KeyCommand::ShowAllPanes;
    case Qt::Key_F1:
        return KeyCommand::HelpContents;
    case Qt::Key_F5:
        return KeyCommand::ToggleTranslation;
    case Qt::Key_F6:
        return KeyCommand::TogglePinyin;
    case Qt::Key_F7:
        return KeyCommand::ToggleCharacters;
    case Qt::Key_F8:
        return KeyCommand::ToggleNotes;
    case Qt::Key_O:
        return modifiers.testFlag(Qt::ControlModifier) ? KeyCommand::OpenLessons : KeyCommand::None;
    default:
        return KeyCommand::None;
    }
}

std::optional<Pane> toggledPane(KeyCommand command)
{
    switch (command) {
    case KeyCommand::ToggleTranslation:
        return Pane::Translation;
    case KeyCommand::TogglePinyin:
        return Pane::Pinyin;
    case KeyCommand::ToggleCharacters:
        return Pane::Characters;
    case KeyCommand::ToggleNotes:
        return Pane::Notes;
    default:
        return std::nullopt;
    }
}

bool dropsTypedCharacter(int key, const QString &text)
{
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Delete: // types nothing, whatever text a platform attaches
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    if (text.isEmpty())
        return false;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return true;
    }
    return false;
}

} // namespace korvana
