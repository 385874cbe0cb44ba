#pragma once
// The about window: the program's name and version, links to the home page
// and the support address, the current skin's name and author, and the
// credits. One instance lives for the whole run; the Help menu's
// About shows it modally.
#include <QDialog>
#include <QLabel>
#include <QUrl>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace korvana {

// Where the program's links lead.
struct ProgramLinks {
    static QString homePage(); // "https://..." with a trailing "/"
    static QString homeHost(); // the home page's host name, shown as the link
    static QString supportEmail();
};

// Links are opened through the desktop's "open" action; tests put in their
// own opener. The result is not looked at.
struct ShellOpen {
    static std::function<void(const QUrl &)> open;
};

// What the about window shows of the main window: the current skin's name
// and author.
class AboutHost {
public:
    virtual ~AboutHost() = default;
    virtual QString skinName() const = 0;
    virtual QString skinAuthor() const = 0;
};

// A label that reports clicks, and underlines itself while the pointer is
// over it when it is a link.
class AboutLabel : public QLabel {
    Q_OBJECT
public:
    explicit AboutLabel(const QString &text, QWidget *parent = nullptr, bool link = false);
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void setUnderline(bool on);
    bool m_link;
};

} // namespace korvana

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // host gives the skin shown; the window opens centred on mainWidget.
    AboutDialog(korvana::AboutHost &host, QWidget *mainWidget, QWidget *parent = nullptr);

    // The credits: seven blocks of name and home page, each pair separated
    // by a line of 41 hyphens.
    static QString creditsText();

    // Every activation shows the current skin's name and author.
    void onActivate();
    void homePageLabelClicked();
    void supportEmailLabelClicked();
    void closeButtonClicked();
    void onKeyDown(int key);

    korvana::AboutLabel *titleLabel = nullptr, *versionLabel = nullptr, *licenseLabel = nullptr,
                        *homePageCaptionLabel = nullptr, *homePageLabel = nullptr, *supportEmailCaptionLabel = nullptr,
                        *supportEmailLabel = nullptr, *skinCaptionLabel = nullptr, *skinNameCaptionLabel = nullptr,
                        *skinNameLabel = nullptr, *skinAuthorCaptionLabel = nullptr, *skinAuthorLabel = nullptr,
                        *creditsCaptionLabel = nullptr;
    QPlainTextEdit *creditsBox = nullptr;
    QPushButton *closeButton = nullptr;

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    korvana::AboutHost &m_host;
    QWidget *m_mainWidget;
};
