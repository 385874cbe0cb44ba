#pragma once
// The main window's skin: the skin loader's pictures and fields go into the
// window's background, buttons, labels and frames.
#include "app/MainWindowControls.h"
#include "settings/Skin.h"

#include <QIcon>
#include <QImage>

class WindowSkin {
public:
    WindowSkin(QWidget &window, MainWindowControls &controls);

    // The skin loader working on the window (at start and from the skin
    // dialog).
    void load(const QString &n);
    // Pushes the skin fields into the labels, buttons and frames.
    void apply();
    // Gives every caption of the window a colour that reads on what it
    // stands on (a frame's fill, its own background, the picture beneath
    // it), the nearest to the one the skin or the design gives; where no
    // colour reads on the picture, the caption gets a backing of its own.
    void makeCaptionsReadable();
    // Makes a frame with its caption; the caller puts the switches into the
    // returned row, which keeps the frame around them.
    QHBoxLayout *buildFrame(QFrame *&frame, QLabel *&caption, const QString &frameName, const QString &captionName,
                            const QString &text);
    // The labels and frames a skin colours, as they stand in the window.
    QList<QLabel *> frameLabels() const;
    QList<QLabel *> commandLabels() const; // without openLinkedFileLabel
    QList<QFrame *> frames() const;

    // The current skin's values, kept for the run and never written to the
    // settings file; apply() shows a change.
    korvana::SkinFields &fields() { return m_fields; }
    const korvana::SkinFields &fields() const { return m_fields; }
    // The Read button's glyphs while idle and while speaking.
    const QIcon &readButtonIcon() const { return m_readButtonIcon; }
    const QIcon &stopButtonIcon() const { return m_stopButtonIcon; }
    void setReadButtonIcons(const QIcon &read, const QIcon &stop)
    {
        m_readButtonIcon = read;
        m_stopButtonIcon = stop;
    }

private:
    class LoaderTarget; // the window as the skin loader sees it

    QWidget &m_window;
    MainWindowControls &m_c;
    korvana::SkinFields m_fields;
    QIcon m_readButtonIcon, m_stopButtonIcon;
    // The built-in look's pictures, made when first worn.
    QImage m_mainImage, m_previousButtonImage, m_nextButtonImage, m_readButtonImage, m_stopButtonImage,
        m_skipButtonImage;
};
