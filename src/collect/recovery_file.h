// The recovery file: while sheets come in, the loaded results are also written after every
// added or taken-back sheet to a file in the program's own data folder, so that a crash or a
// killed program loses at most the sheet being typed. Saving the results removes it; the next
// typing-in of the same questionnaire offers what it holds.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "results/results_tally.h"

namespace results {
class TForm3;
}

namespace collect {

// One recovery file per questionnaire, named after its survey name: "odzysk-<16 hex>.wyn".
QString RecoveryFileName(const QString& folder, const QByteArray& surveyName);

class RecoveryFile {
public:
    // `folder` is the program's own data folder; `store` the loaded results.
    RecoveryFile(QString folder, const results::ResultsStore& store);

    // Follows the results manager: writes after every sheet, removes the file once the results
    // are saved, and lets it be once they are gone (reset or closed without saving).
    void Follow(results::TForm3& manager);

    // Writes the loaded results (replacing the file only once the new one is complete).
    void Write();
    // The loaded results were saved by the user: their recovery file goes, if this run wrote it.
    void Saved();
    // The loaded results are gone; a recovery file written for them stays for the next time.
    void Closed() { written_ = false; }

    // The counts a recovery file holds for the loaded questionnaire when they differ from the
    // loaded counts: sheets left behind by an earlier run.
    std::optional<results::ResultsTally> LeftBehind() const;
    // Removes the loaded questionnaire's recovery file.
    void Discard();

private:
    QString Path() const;

    QString folder_;
    const results::ResultsStore& store_;
    bool written_ = false;  // the file holds the loaded results' unsaved sheets
};

}  // namespace collect
