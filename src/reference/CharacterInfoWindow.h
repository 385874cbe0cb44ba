#pragma once
// The character popup: a small borderless window under the main window that
// shows the character under the mouse in the characters pane, its codes,
// radical, strokes, readings, variants and definition, and the dictionary
// entries of the words it forms with its neighbours. One instance
// lives for the whole run; it is shown and hidden, never freed.
#include <QWidget>

class QLabel;
class QPlainTextEdit;

class CharacterInfoWindow : public QWidget {
    Q_OBJECT
public:
    explicit CharacterInfoWindow(QWidget *parent = nullptr);

    // Places the popup against main: just below it, or just above it when the
    // screen has no room below; its left edge on main's.
    void placeNear(QWidget *main);
    // The same with the screen height given (the screen main stands on).
    void placeNear(const QRect &main, int screenHeight);

    // Value labels.
    QLabel *characterLabel = nullptr;
    QLabel *strokesLabel = nullptr;
    QLabel *mandarinLabel = nullptr;
    QLabel *traditionalLabel = nullptr;
    QLabel *hexCodeLabel = nullptr;
    QLabel *radicalCharacterLabel = nullptr;
    QLabel *radicalLabel = nullptr;
    QLabel *simplifiedLabel = nullptr;
    QLabel *decimalCodeLabel = nullptr;
    QLabel *definitionLabel = nullptr;
    // The dictionary entries, one per line.
    QPlainTextEdit *dictionaryBox = nullptr;

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void onCreate();
};
