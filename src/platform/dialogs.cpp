// The program's message boxes and common dialogs.
#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTranslator>
#include <algorithm>

namespace platform {
namespace {

// Gives the keyboard back to the window a box or dialog was opened from, once it closes. The
// boxes have no owner window, and the window system may hand the focus back to that window
// while the box is still closing, when the program does not take it: the window would then be on
// top with no control taking keys, and a keyboard user stuck.
class KeyboardComesBack {
public:
    KeyboardComesBack() : window_(QApplication::activeWindow()) {}
    ~KeyboardComesBack() {
        if (!window_ || !window_->isVisible() || QApplication::activeWindow() == window_) return;
        if (QGuiApplication::focusWindow() == window_->windowHandle()) {
            QApplication::setActiveWindow(window_);
        } else {
            window_->activateWindow();
        }
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace

QString ApplicationTitle() { return QStringLiteral("Narzędzia"); }

bool InstallPolishDialogTexts() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    QLocale::setDefault(polish);
    auto* candidate = new QTranslator(QCoreApplication::instance());
    if (!candidate->load(polish, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete candidate;
        return false;
    }
    QCoreApplication::installTranslator(candidate);
    translator = candidate;
    return true;
}

QString DialogNameFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0) return filter;
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    // The description usually names its pattern already, as in "Ankiety (*.ank)".
    if (description.endsWith(u')') && description.contains(u'(')) return description;
    return description + QStringLiteral(" (") + pattern + u')';
}

void QtDialogs::Notice(const QString& text) {
    const KeyboardComesBack back;
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::Question(const QString& text) {
    // No owner window: the asking window disables its own controls while the box is open.
    const KeyboardComesBack back;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pytanie..."), text);
    QPushButton* yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::Error(const QString& text) {
    const KeyboardComesBack back;
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

namespace {

QStringList RunFileDialog(const FileDialogOptions& options, QFileDialog::FileMode fileMode) {
    const KeyboardComesBack back;
    QFileDialog dialog(nullptr, options.title, options.initialFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(fileMode);
    if (fileMode == QFileDialog::AnyFile) {
        // Saving replaces an existing file without asking.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    if (fileMode == QFileDialog::Directory) {
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setNameFilter(DialogNameFilter(options.filter));
        dialog.selectFile(QString());
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

// The open dialog of existing files in which "Otwórz" with a folder selected chooses the folder
// instead of going into it; a double click or Enter on a folder in the list still goes in.
class FilesOrFoldersDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override {
        const QStringList chosen = selectedFiles();
        const bool allThere = !chosen.isEmpty() && std::all_of(chosen.begin(), chosen.end(),
                                                               [](const QString& name) {
                                                                   return QFileInfo::exists(name);
                                                               });
        if (allThere) return QDialog::accept();
        QFileDialog::accept();
    }
};

QString FirstOf(const QStringList& names) { return names.isEmpty() ? QString() : names.first(); }

// The progress box: modal, with "Anuluj"; a press of the button is seen at the next step.
class ProgressBox : public Progress {
public:
    explicit ProgressBox(const QString& text) : dialog_(text, QStringLiteral("Anuluj"), 0, 1) {
        dialog_.setWindowTitle(ApplicationTitle());
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setMinimumDuration(0);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.show();
        QCoreApplication::processEvents();
    }
    bool Advance(int done, int total) override {
        dialog_.setMaximum(total);
        dialog_.setValue(done);
        QCoreApplication::processEvents();
        return !dialog_.wasCanceled();
    }

private:
    QProgressDialog dialog_;
};

}  // namespace

QString QtDialogs::OpenFileName(const FileDialogOptions& options) {
    return FirstOf(RunFileDialog(options, QFileDialog::ExistingFile));
}

QString QtDialogs::SaveFileName(const FileDialogOptions& options) {
    return FirstOf(RunFileDialog(options, QFileDialog::AnyFile));
}

QStringList QtDialogs::OpenFileNames(const FileDialogOptions& options) {
    return RunFileDialog(options, QFileDialog::ExistingFiles);
}

QString QtDialogs::FolderName(const FileDialogOptions& options) {
    return FirstOf(RunFileDialog(options, QFileDialog::Directory));
}

QStringList QtDialogs::OpenFilesOrFolders(const FileDialogOptions& options) {
    const KeyboardComesBack back;
    FilesOrFoldersDialog dialog(nullptr, options.title, options.initialFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(DialogNameFilter(options.filter));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

std::optional<std::vector<int>> QtDialogs::AskNumbers(const QString& title,
                                                      const std::vector<NumberField>& fields) {
    const KeyboardComesBack back;
    QDialog dialog;
    dialog.setWindowTitle(title);
    auto* layout = new QFormLayout(&dialog);
    std::vector<QSpinBox*> boxes;
    for (const NumberField& field : fields) {
        auto* box = new QSpinBox(&dialog);
        box->setRange(field.low, field.high);
        box->setMinimumWidth(dialog.fontMetrics().horizontalAdvance(title) * 3 / 4);
        box->setValue(field.value);
        box->setAccessibleName(QString(field.label).remove(u'&'));
        // The label is the field's buddy: its Alt letter moves there and a screen reader names it.
        layout->addRow(field.label, box);
        boxes.push_back(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    // As large as its fields, which are wide enough for the caption to show whole.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (!boxes.empty()) boxes.front()->selectAll();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<int> numbers;
    for (QSpinBox* box : boxes) {
        box->interpretText();  // a number typed and not yet taken counts as it stands
        numbers.push_back(box->value());
    }
    return numbers;
}

std::unique_ptr<Progress> QtDialogs::ShowProgress(const QString& text) {
    return std::make_unique<ProgressBox>(text);
}


QColor QtDialogs::ChooseColour(QColor preset) {
    const KeyboardComesBack back;
    QColorDialog dialog(preset);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return preset;
    return dialog.selectedColor();
}

}  // namespace platform
