#pragma once
// The program's one error type and the one place where unhandled errors are
// reported to the user.
#include <QString>
#include <stdexcept>

namespace korvana {

// An error with a message meant for the user, as the program shows it.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The text shown for any exception.
QString errorText(const std::exception &e);

// Shows an error that no handler caught, in a message box with an OK button,
// as the standard error box of the program does. Safe to call anywhere on the
// GUI thread.
void reportUnhandledError(const QString &text);

} // namespace korvana
