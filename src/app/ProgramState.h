#pragma once
// The program's shared state, beside its windows rather than inside any of
// them: what several windows read and change. The owner of the windows makes
// it before the first window and frees it after the last.
#include "lessons/LessonStore.h"
#include "platform/speech/SpeechVoice.h"
#include "reference/DictionaryData.h"
#include "reference/ReferenceData.h"
#include "settings/MainSettings.h"

#include <memory>

struct ProgramState {
    // The user's preferences: read from the settings file when the main
    // window is made, written back when it closes.
    korvana::MainSettings settings;
    // The open lessons, their term table and the current position.
    korvana::LessonStore store;
    // The voice that reads aloud; made at the main window's first
    // activation, replaced when the user picks another.
    std::unique_ptr<korvana::SpeechVoice> voice;
    // The dictionary in use, with its index and searches.
    korvana::DictionaryData dictionary;
    // The character database, its tables and the tone vowels made from it.
    korvana::ReferenceData referenceData;
};
