// Scripted dialogs for tests.
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace testing_support {

QStringList ScriptedDialogs::Texts(Kind kind) const {
    QStringList texts;
    for (const Shown& entry : shown) {
        if (entry.kind == kind) texts.append(entry.text);
    }
    return texts;
}

const ScriptedDialogs::Shown* ScriptedDialogs::Last(Kind kind) const {
    for (auto entry = shown.rbegin(); entry != shown.rend(); ++entry) {
        if (entry->kind == kind) return &*entry;
    }
    return nullptr;
}

void ScriptedDialogs::Notice(const QString& text) { shown.push_back({Kind::Notice, text, {}, {}}); }

bool ScriptedDialogs::Question(const QString& text) {
    shown.push_back({Kind::Question, text, {}, {}});
    if (whileQuestionOpen) whileQuestionOpen(text);
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void ScriptedDialogs::Error(const QString& text) { shown.push_back({Kind::Error, text, {}, {}}); }

QString ScriptedDialogs::OpenFileName(const platform::FileDialogOptions& options) {
    shown.push_back({Kind::OpenFile, {}, options, {}});
    if (fileNames.empty()) {
        ADD_FAILURE() << "unscripted open dialog: " << options.title.toStdString();
        return {};
    }
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedDialogs::SaveFileName(const platform::FileDialogOptions& options) {
    shown.push_back({Kind::SaveFile, {}, options, {}});
    if (fileNames.empty()) {
        ADD_FAILURE() << "unscripted save dialog: " << options.title.toStdString();
        return {};
    }
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QColor ScriptedDialogs::ChooseColour(QColor preset) {
    shown.push_back({Kind::Colour, {}, {}, preset});
    if (colours.empty()) {
        ADD_FAILURE() << "unscripted colour dialog";
        return preset;
    }
    const QColor colour = colours.front();
    colours.pop_front();
    return colour.isValid() ? colour : preset;
}

}  // namespace testing_support
