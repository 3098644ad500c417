// Scripted dialogs for tests.
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

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

QString ScriptedDialogs::NextName(Kind kind, const platform::FileDialogOptions& options) {
    shown.push_back({kind, {}, options, {}});
    if (fileNames.empty()) {
        ADD_FAILURE() << "unscripted file dialog: " << options.title.toStdString();
        return {};
    }
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedDialogs::OpenFileName(const platform::FileDialogOptions& options) {
    return NextName(Kind::OpenFile, options);
}

QString ScriptedDialogs::SaveFileName(const platform::FileDialogOptions& options) {
    return NextName(Kind::SaveFile, options);
}

QStringList ScriptedDialogs::OpenFileNames(const platform::FileDialogOptions& options) {
    if (fileLists.empty()) {
        const QString name = NextName(Kind::OpenFile, options);
        return name.isEmpty() ? QStringList() : QStringList{name};
    }
    shown.push_back({Kind::OpenFile, {}, options, {}});
    QStringList names = fileLists.front();
    fileLists.pop_front();
    return names;
}

QString ScriptedDialogs::FolderName(const platform::FileDialogOptions& options) {
    return NextName(Kind::Folder, options);
}

std::unique_ptr<platform::Progress> ScriptedDialogs::ShowProgress(const QString& text) {
    shown.push_back({Kind::Progress, text, {}, {}});
    // Counts the steps and presses "Anuluj" when the script says so.
    class Scripted : public platform::Progress {
    public:
        explicit Scripted(ScriptedDialogs& dialogs) : dialogs_(dialogs) {}
        bool Advance(int, int) override {
            ++dialogs_.progressSteps;
            return dialogs_.stopAfterSteps < 0 || dialogs_.progressSteps < dialogs_.stopAfterSteps;
        }

    private:
        ScriptedDialogs& dialogs_;
    };
    return std::make_unique<Scripted>(*this);
}

std::optional<std::vector<int>> ScriptedDialogs::AskNumbers(
    const QString& title, const std::vector<platform::NumberField>& fields) {
    shown.push_back({Kind::Numbers, title, {}, {}});
    numberFields = fields;
    if (numbers.empty()) {
        ADD_FAILURE() << "unscripted box of numbers: " << title.toStdString();
        return std::nullopt;
    }
    std::optional<std::vector<int>> answer = numbers.front();
    numbers.pop_front();
    if (!answer) return std::nullopt;
    if (answer->size() != fields.size()) {
        ADD_FAILURE() << "box of numbers answered with " << answer->size() << " numbers for "
                      << fields.size() << " fields";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        (*answer)[i] = std::clamp((*answer)[i], fields[i].low, fields[i].high);
    }
    return answer;
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
