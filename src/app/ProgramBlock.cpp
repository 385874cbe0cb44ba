#include "app/ProgramBlock.h"
#include "app/KorvanaApplication.h"
#include "app/TForm1.h"
#include "app/TFormSplash.h"
#include "platform/richtext/ChineseFonts.h"
#include "platform/ui/MessagePump.h"
#include "platform/ui/WindowSystem.h"

#include "editing/TFormAssociateRTF.h"
#include "editing/TFormEditor.h"
#include "editing/TFormTermsManager.h"
#include "editing/TFormVocabulary.h"
#include "practice/TFormBackground.h"
#include "practice/TFormFlash.h"
#include "practice/TFormToolBar.h"
#include "practice/TformPicture.h"
#include "reference/TFormAsocFile.h"
#include "reference/TFormDict.h"
#include "reference/TFormHanzi.h"
#include "reference/TFormKeybRefer.h"
#include "reference/TFormNumbers.h"
#include "settings/TFormAbout.h"
#include "settings/TFormOptions.h"
#include "settings/TFormReminder.h"
#include "settings/TFormSelect.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

QString HelpFile;

namespace {
template <typename T>
void create(T *&instance)
{
    instance = new T;
}

template <typename T>
void destroy(T *&instance)
{
    delete instance;
    instance = nullptr;
}
} // namespace

void CreateForms()
{
    // Every window draws Chinese text in Chinese glyph forms (done once; the
    // application start-up has usually done it already).
    korvana::fonts::useChineseGlyphForms();
    // The main window comes first: its creation reads the settings and loads
    // the data every other window relies on, while no other window exists.
    create(Form1);
    create(FormAbout);
    create(FormVocabulary);
    create(formPicture);
    create(FormSelect);
    create(FormAsocFile);
    create(FormOptions);
    create(FormReminder);
    create(FormEditor);
    create(FormAssociateRTF);
    create(FormKeybRefer);
    create(FormFlash);
    create(FormHanzi);
    create(FormBackground);
    create(FormNumbers);
    create(FormToolBar);
    create(FormDict);
    create(FormTermsManager);
}

void DestroyForms()
{
    destroy(FormTermsManager);
    destroy(FormDict);
    destroy(FormToolBar);
    destroy(FormNumbers);
    destroy(FormBackground);
    destroy(FormHanzi);
    destroy(FormFlash);
    destroy(FormKeybRefer);
    destroy(FormAssociateRTF);
    destroy(FormEditor);
    destroy(FormReminder);
    destroy(FormOptions);
    destroy(FormAsocFile);
    destroy(FormSelect);
    destroy(formPicture);
    destroy(FormVocabulary);
    destroy(FormAbout);
    destroy(Form1);
}

int ProgramBlock(int argc, char **argv)
{
    // The platform is chosen before the application object, which loads it.
    korvana::chooseQtPlatformForSession();
    // Qt needs its application object before any window, so it comes before
    // the splash.
    korvana::KorvanaApplication app(argc, argv);

    auto *splash = new TFormSplash;
    splash->show();
    splash->repaint();
    korvana::MessagePump::processPending();

    HelpFile = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvlhelp.chm"));

    CreateForms();

    splash->close();
    delete splash;

    Form1->show();
    Form1->activateWindow();
    // The first activation's work (reminder, voices, flash) must not depend
    // on a window manager that activates new windows: once the loop runs, it
    // is started if activation has not started it yet (it runs only once).
    QTimer::singleShot(0, Form1, [] { Form1->FormActivate(); });
    const int code = app.exec();
    DestroyForms();
    return code;
}
