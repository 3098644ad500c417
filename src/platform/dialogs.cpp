// The program's message boxes and common dialogs.
#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace platform {

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
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::Question(const QString& text) {
    // No owner window: the asking window disables its own controls while the box is open.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pytanie..."), text);
    QPushButton* yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::Error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

namespace {

QString RunFileDialog(const FileDialogOptions& options, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(nullptr, options.title, options.initialFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        // Saving replaces an existing file without asking.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.setNameFilter(DialogNameFilter(options.filter));
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtDialogs::OpenFileName(const FileDialogOptions& options) {
    return RunFileDialog(options, QFileDialog::AcceptOpen);
}

QString QtDialogs::SaveFileName(const FileDialogOptions& options) {
    return RunFileDialog(options, QFileDialog::AcceptSave);
}

QColor QtDialogs::ChooseColour(QColor preset) {
    QColorDialog dialog(preset);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return preset;
    return dialog.selectedColor();
}

}  // namespace platform
