// The results manager window: its controls and states, the "Plik", "Okna", "Wykresy" and "Inne"
// menus, and the opening and closing that hand over to the launcher.
#include "results/results_manager_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>

#include "platform/accessibility.h"
#include "platform/controls.h"
#include "platform/encoding.h"
#include "platform/file_names.h"
#include "platform/fonts.h"
#include "platform/io_error.h"
#include "results/results_table.h"
#include "results/survey_text_window.h"

namespace results {
namespace {

// The caption up to the survey name: "Menedżer wyników".
constexpr int kBaseCaptionLength = 16;

// A grid row and column are 22 and 40 pixels and a grid line; the frame adds 2 pixels a side.
constexpr int kRowHeight = 23;
constexpr int kColumnWidth = 41;
constexpr int kGridColumns = 10;
constexpr int kRowsWithoutScrolling = 10;

}  // namespace

QString CountReading(int question, int answer, const QString& count) {
    const QChar letter(u'A' + answer - 1);
    // The table leaves empty exactly the answers a question does not have.
    if (count.isEmpty()) {
        return QStringLiteral("Pytanie %1 nie ma odpowiedzi %2").arg(question).arg(letter);
    }
    return QStringLiteral("Pytanie %1, odpowiedź %2: %3").arg(question).arg(letter).arg(count);
}

TForm3::TForm3(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store,
               platform::LauncherControl& launcher)
    : Form(dialogs, QStringLiteral("Menedżer wyników"), QSize(485, 311),
           platform::BorderStyle::Single),
      printer_(printer),
      store_(store),
      launcher_(launcher) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceAt(2, 93);
    BuildControls();
    WireHandlers();
    TakeState(false);
    OnFilesDropped([this](const QStringList& names) { FilesDropped(names); });
}

void TForm3::BuildControls() {
    QWidget* client = Client();

    Shape1 = new QFrame(client);
    Shape1->setGeometry(3, 0, 480, 1);
    platform::SetColour(*Shape1, QPalette::Window, QColor(0x808080));

    StringGrid1 = new StringGrid(client, kGridColumns, kColumnWidth, kRowHeight);
    StringGrid1->setGeometry(26, 10, 430, 257);
    platform::NameControl(StringGrid1, QStringLiteral("Tabela wyników"));
    StringGrid1->SetCellReading(
        [](int column, int row, const QString& text) { return CountReading(row, column, text); });

    Button3 = AddButton(QStringLiteral("Drukuj"), {24, 280, 81, 25});
    Button2 = AddButton(QStringLiteral("Zapisz Tabelę"), {200, 280, 89, 25});
    Button1 = AddButton(QStringLiteral("Koniec"), {376, 280, 81, 25});
    Button3->setShortcut(QKeySequence::Print);

    // Each menu and item with its Alt letter; the standard keys of opening and saving.
    Plik = MenuBar()->addMenu(QStringLiteral("&Plik"));
    Otwrz1 = Plik->addAction(QStringLiteral("&Otwórz"));
    Otwrz1->setShortcut(QKeySequence::Open);
    Dodaj1 = Plik->addAction(QStringLiteral("&Dodaj"));
    Zapisz1 = Plik->addAction(QStringLiteral("&Zapisz"));
    Zapisz1->setShortcut(QKeySequence::Save);
    Wyzeruj1 = Plik->addAction(QStringLiteral("&Wyzeruj wyniki"));
    Plik->addSeparator();
    Raport1 = Plik->addAction(QStringLiteral("&Raport…"));
    Plik->addSeparator();
    Nowewynikizankiety1 = Plik->addAction(QStringLiteral("&Nowe wyniki z ankiety…"));
    Wprowadodpowiedzi1 = Plik->addAction(QStringLiteral("W&prowadź odpowiedzi…"));
    Zbierajodpowiedziwsieci1 = Plik->addAction(QStringLiteral("Z&bieraj odpowiedzi w sieci…"));
    Wczytajskanyarkuszy1 = Plik->addAction(QStringLiteral("Wczytaj &skany arkuszy…"));
    Skanujarkuszetelefonem1 = Plik->addAction(QStringLiteral("Skanuj arkusze &telefonem…"));
    Okna1 = MenuBar()->addMenu(QStringLiteral("&Okna"));
    Treankiety1 = Okna1->addAction(QStringLiteral("&Treść ankiety"));
    Treankiety1->setCheckable(true);
    Wykresy1 = MenuBar()->addMenu(QStringLiteral("&Wykresy"));
    Supkowy1 = Wykresy1->addAction(QStringLiteral("&Słupkowy"));
    Paskowy1 = Wykresy1->addAction(QStringLiteral("&Paskowy"));
    Koowy1 = Wykresy1->addAction(QStringLiteral("&Kołowy"));
    Multi1 = Wykresy1->addAction(QStringLiteral("&Multi"));
    Inne1 = MenuBar()->addMenu(QStringLiteral("&Inne"));
    Skasujplikwynikw1 = Inne1->addAction(QStringLiteral("&Skasuj plik wyników"));
    Skasujwszystkie1 = Inne1->addAction(QStringLiteral("Skasuj &wszystkie"));
}

void TForm3::WireHandlers() {
    OnClick(Otwrz1, [this] { Otwrz1Click(); });
    OnClick(Dodaj1, [this] { Dodaj1Click(); });
    OnClick(Zapisz1, [this] { Zapisz1Click(); });
    OnClick(Wyzeruj1, [this] { Wyzeruj1Click(); });
    OnClick(Raport1, [this] { Raport1Click(); });
    OnClick(Treankiety1, [this] { Treankiety1Click(); });
    OnClick(Supkowy1, [this] { Supkowy1Click(); });
    OnClick(Paskowy1, [this] { Paskowy1Click(); });
    OnClick(Koowy1, [this] { Koowy1Click(); });
    OnClick(Multi1, [this] { Multi1Click(); });
    OnClick(Skasujplikwynikw1, [this] { Skasujplikwynikw1Click(); });
    OnClick(Skasujwszystkie1, [this] { Skasujwszystkie1Click(); });
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { Button2Click(); });
    OnClick(Button3, [this] { Button3Click(); });
}

void TForm3::SetChartLinks(std::array<ChartLink*, 4> charts) {
    charts_ = charts;
    const std::array<QAction*, 4> items{Supkowy1, Koowy1, Paskowy1, Multi1};
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        QAction* item = items[i];
        if (charts_[i]) charts_[i]->OnChartClosed = [item] { item->setEnabled(true); };
    }
}

void TForm3::SetSurveyTextWindow(TForm8* window) {
    surveyText_ = window;
    if (surveyText_) surveyText_->OnClosed = [this] { Treankiety1->setChecked(false); };
}

void TForm3::TakeState(bool loaded) {
    loaded_ = loaded;
    for (QAction* item : {Otwrz1, Nowewynikizankiety1}) item->setEnabled(!loaded);
    for (QAction* item :
         {Dodaj1, Zapisz1, Wyzeruj1, Raport1, Wprowadodpowiedzi1, Zbierajodpowiedziwsieci1,
          Wczytajskanyarkuszy1, Skanujarkuszetelefonem1}) {
        item->setEnabled(loaded);
    }
    Wykresy1->menuAction()->setEnabled(loaded);
    Button2->setEnabled(loaded);
    Button3->setEnabled(loaded);
    StringGrid1->setVisible(loaded);
    Button1->setEnabled(true);
    for (QMenu* menu : {Plik, Okna1, Inne1}) menu->menuAction()->setEnabled(true);
}

void TForm3::AskWithControlsDisabled(const QString& question,
                                     const std::function<void()>& onYes) {
    // The question box has no owner window, so the manager keeps the user from its controls.
    for (QPushButton* button : {Button1, Button2, Button3}) button->setEnabled(false);
    for (QMenu* menu : {Wykresy1, Plik, Inne1, Okna1}) menu->menuAction()->setEnabled(false);
    try {
        if (dialogs().Question(question)) onYes();
    } catch (...) {
        // A failed deletion must not leave the window without a way on.
        TakeState(loaded_);
        throw;
    }
    TakeState(loaded_);
}

platform::FileDialogOptions TForm3::OpenDialogOptions() const {
    return {QStringLiteral("Wybierz plik z wynikami..."),
            QStringLiteral("Pliki Wyników (*.wyn)|*.wyn"), store_.StartDir};
}

QString TForm3::RunOpenDialog() { return dialogs().OpenFileName(OpenDialogOptions()); }

void TForm3::ShowNotice(ResultsOutcome outcome) {
    const QString notice = OutcomeNotice(outcome);
    if (!notice.isEmpty()) dialogs().Notice(notice);
}

void TForm3::ShowCaption(const QByteArray& respondents) {
    // A caption shows no more of a line than fits a screen many times over, however long the
    // file's line is.
    constexpr qsizetype kLongestCaptionPart = 1000;
    SetCaption(Caption().left(kBaseCaptionLength) + QStringLiteral(" :   ") +
               platform::FromCodePage(store_.Tally.SurveyName.left(kLongestCaptionPart)) +
               QStringLiteral(", Ankietowanych: ") +
               platform::FromCodePage(respondents.left(kLongestCaptionPart)));
}

void TForm3::FillGrid() {
    const int questions = store_.Tally.QuestionCount;
    StringGrid1->SetRowCount(questions + 1);
    for (int a = 1; a < kGridColumns; ++a) {
        StringGrid1->SetCell(a, 0, QStringLiteral("    ") + QChar(u'A' + a - 1));
    }
    for (int q = 1; q <= questions; ++q) {
        StringGrid1->SetCell(0, q, QStringLiteral("Pyt. ") + QString::number(q));
    }
    ShowCounts(true);
}

void TForm3::ShowCounts(bool shown) {
    const ResultsTally& tally = store_.Tally;
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        for (int a = 1; a < kGridColumns; ++a) {
            const bool counted = shown && a <= tally.AnswerCount[q];
            StringGrid1->SetCell(a, q,
                                 counted ? QString::number(tally.AnswerTally[q][a]) : QString());
        }
    }
}

void TForm3::OpenChart(Chart chart, QAction* item) {
    ChartLink* link = charts_[chart];
    if (!link) return;
    item->setEnabled(false);
    link->RequestRedraw();
    link->OpenChart();
}

void TForm3::CloseChart(Chart chart) {
    if (charts_[chart]) charts_[chart]->CloseChart();
}

void TForm3::CloseSurveyText() {
    store_.SurveyText.clear();
    if (surveyText_) surveyText_->CloseForm();
}

void TForm3::FormShow() {
    SetCaption(Caption().left(kBaseCaptionLength));
    store_.StartDir = platform::CurrentDirectory();
    launcher_.HideLauncher();
    store_.SurveyText.clear();
    Treankiety1->setChecked(false);
    TakeState(false);
}

void TForm3::FormClose() {
    CloseChart(Multi);
    CloseChart(Stripe);
    CloseChart(Pie);
    CloseChart(Bar);
    CloseSurveyText();
    emit ResultsClosed();
    launcher_.ShowLauncher();
}

void TForm3::Otwrz1Click() { OpenResults(RunOpenDialog()); }

void TForm3::OpenResults(const QString& name) {
    if (name.isEmpty() || !platform::FileExists(name)) return;
    const ReadResult read = ReadResultsFile(name, store_);
    if (read.outcome != ResultsOutcome::Loaded) return ShowNotice(read.outcome);
    openedFolder_ = QFileInfo(name).absolutePath();
    ShowTakenResults(read.respondentsLine);
    if (read.textCut) dialogs().Notice(TextCutNotice());
}

void TForm3::TakeResults(const ResultsTally& tally, const QList<QByteArray>& surveyText) {
    store_.Tally = tally;
    store_.SurveyText = surveyText;
    openedFolder_.clear();  // such results name their survey file by its whole path
    ShowTakenResults(QByteArray::number(tally.RespondentCount));
}

void TForm3::ShowTakenResults(const QByteArray& respondents) {
    ShowCaption(respondents);
    // Up to ten questions the grid fits its rows; beyond, it keeps ten and gets a scroll bar.
    const int questions = store_.Tally.QuestionCount;
    if (questions <= kRowsWithoutScrolling) {
        StringGrid1->resize(414, questions * kRowHeight + 27);
    } else {
        StringGrid1->resize(431, 257);
    }
    Treankiety1->setChecked(true);
    if (surveyText_) surveyText_->ShowSurveyText();
    FillGrid();
    TakeState(true);
}

void TForm3::Dodaj1Click() {
    const QStringList names = dialogs().OpenFileNames(OpenDialogOptions());
    if (names.size() > 1) return AddFiles(names);
    AddResults(names.isEmpty() ? QString() : names.first());
}

void TForm3::AddResults(const QString& name) {
    if (name.isEmpty() || !platform::FileExists(name)) return;
    const ResultsOutcome outcome = MergeResultsFile(name, store_.Tally);
    if (outcome != ResultsOutcome::Merged) return ShowNotice(outcome);
    ShowChangedCounts();
}

void TForm3::AddFiles(const QStringList& names) {
    QStringList refused;
    bool merged = false;
    for (const QString& name : names) {
        if (!platform::FileExists(name)) continue;
        QString reason;
        try {
            const ResultsOutcome outcome = MergeResultsFile(name, store_.Tally);
            merged = merged || outcome == ResultsOutcome::Merged;
            reason = OutcomeNotice(outcome);
        } catch (const platform::IoError& error) {
            // The files after it still go in.
            reason = QString::fromStdString(error.what());
        }
        if (!reason.isEmpty()) refused << QDir::toNativeSeparators(name) + QStringLiteral(": ") + reason;
    }
    if (merged) ShowChangedCounts();
    if (!refused.isEmpty()) {
        dialogs().Notice(QStringLiteral("Nie dodano plików:\n") + refused.join(u'\n'));
    }
}

void TForm3::OpenResultsFiles(const QStringList& names) {
    for (const QString& name : names) {
        Handle([&] { loaded_ ? AddResults(name) : OpenResults(name); });
    }
}

void TForm3::FilesDropped(const QStringList& names) {
    QStringList results;
    QStringList refused;
    for (const QString& name : names) {
        (platform::HasExtension(name, QStringLiteral(".wyn")) ? results : refused) << name;
    }
    OpenResultsFiles(results);
    if (refused.isEmpty()) return;
    QStringList shown;
    for (const QString& name : refused) shown << platform::FileNamePart(name);
    dialogs().Notice(QStringLiteral("To nie są pliki wyników (*.wyn), pominięto je:\n") +
                     shown.join(u'\n'));
}

void TForm3::ShowChangedCounts() {
    ShowCounts(true);
    ShowCaption(QByteArray::number(store_.Tally.RespondentCount));
    for (ChartLink* link : charts_) {
        if (link) link->RequestRedraw();
    }
}

ResultsOutcome TForm3::AddSheet(const AnswerSheet& sheet) {
    const ResultsOutcome outcome = results::AddSheet(store_.Tally, sheet);
    if (outcome == ResultsOutcome::Merged) {
        ShowChangedCounts();
        emit SheetsChanged();
    }
    return outcome;
}

void TForm3::TakeSheetBack(const AnswerSheet& sheet) {
    results::TakeSheetBack(store_.Tally, sheet);
    ShowChangedCounts();
    emit SheetsChanged();
}

void TForm3::TakeCounts(const ResultsTally& counts) {
    store_.Tally = counts;
    ShowChangedCounts();
    emit SheetsChanged();
}

void TForm3::Zapisz1Click() {
    const QString name = dialogs().SaveFileName(
        {QStringLiteral("Wybierz plik, w którym chcesz zapisać wyniki..."),
         QStringLiteral("Pliki wyników (*.wyn)|*.wyn"), store_.StartDir});
    if (name.isEmpty()) return;
    WriteResultsFile(platform::ReplaceExtension(name, QStringLiteral(".wyn")), store_);
    emit ResultsSaved();
}

void TForm3::Wyzeruj1Click() {
    AskWithControlsDisabled(QStringLiteral("Czy wyzerować wczytane wyniki?"), [this] {
        SetCaption(Caption().left(kBaseCaptionLength));
        CloseChart(Bar);
        CloseChart(Pie);
        CloseChart(Stripe);
        CloseSurveyText();
        CloseChart(Multi);
        Treankiety1->setChecked(false);
        ShowCounts(false);
        loaded_ = false;
        emit ResultsClosed();
    });
}

void TForm3::Raport1Click() {
    if (!reportWriter_) return;
    const QString folder = dialogs().FolderName(
        {QStringLiteral("Wybierz folder, w którym chcesz zapisać raport..."), {}, store_.StartDir});
    if (folder.isEmpty()) return;
    bool written = false;
    {
        const std::unique_ptr<platform::Progress> progress =
            dialogs().ShowProgress(QStringLiteral("Zapisywanie raportu..."));
        written = reportWriter_(store_, folder, openedFolder_, *progress);
    }
    dialogs().Notice(written ? QStringLiteral("Raport zapisano w folderze:\n") +
                                   QDir::toNativeSeparators(folder)
                             : QStringLiteral("Raport przerwano; nie zapisano żadnego pliku."));
}

void TForm3::Treankiety1Click() {
    // The menu item has already turned its check mark over.
    if (!surveyText_) return;
    if (Treankiety1->isChecked()) {
        surveyText_->ShowSurveyText();
    } else {
        surveyText_->CloseForm();
    }
}

void TForm3::Supkowy1Click() { OpenChart(Bar, Supkowy1); }
void TForm3::Paskowy1Click() { OpenChart(Stripe, Paskowy1); }
void TForm3::Koowy1Click() { OpenChart(Pie, Koowy1); }
void TForm3::Multi1Click() { OpenChart(Multi, Multi1); }

void TForm3::Skasujplikwynikw1Click() {
    const QString name = RunOpenDialog();
    if (name.isEmpty()) return;
    if (!IsResultsFile(name)) {
        return dialogs().Notice(QStringLiteral("To nie jest plik z wynikami..."));
    }
    // Deleting the file the loaded results came from leaves them loaded.
    AskWithControlsDisabled(QStringLiteral("Czy na pewno skasować ten plik?"),
                            [&name] { DeleteResultsFile(name); });
}

void TForm3::Skasujwszystkie1Click() {
    AskWithControlsDisabled(QStringLiteral("Czy na pewno skasować wszystkie pliki z wynikami?"),
                            [this] { DeleteAllResultsFiles(store_.StartDir); });
}

void TForm3::Button1Click() { CloseForm(); }

void TForm3::Button2Click() {
    const QString name = dialogs().SaveFileName({QStringLiteral("Wpisz nazwę pliku z wynikami..."),
                                                 QStringLiteral("Pliki tekstowe (*.txt)|*.txt"),
                                                 {}});
    if (name.isEmpty()) return;
    WriteTableText(platform::ReplaceExtension(name, QStringLiteral(".TXT")), store_.Tally);
}

void TForm3::Button3Click() { PrintResultsTable(printer_, store_.Tally); }

}  // namespace results
