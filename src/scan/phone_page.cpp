// The phone scanning's pages and stylesheet.
#include "scan/phone_page.h"

#include "collect/collection_page.h"

namespace scan {
namespace {

using collect::EscapeHtml;

QString Action(const QByteArray& code) {
    return QLatin1String(kPhonePath) + QStringLiteral("?kod=") + EscapeHtml(QString::fromLatin1(code));
}

QString ClassOf(PhotoAnswer::Kind kind) {
    switch (kind) {
        case PhotoAnswer::Kind::Added:
            return QStringLiteral("dodany");
        case PhotoAnswer::Kind::Waiting:
            return QStringLiteral("czeka");
        case PhotoAnswer::Kind::Refused:
            break;
    }
    return QStringLiteral("odrzucony");
}

}  // namespace

QString PhonePageAddress(const QString& origin, const QByteArray& code) {
    return origin + QLatin1String(kPhonePath) + QStringLiteral("?kod=") + QString::fromLatin1(code);
}

QByteArray PhonePage(const QString& title, const QByteArray& code, const std::vector<PhotoAnswer>& answers,
                     const PhoneCounts& counts) {
    QString page = collect::PageHead(QStringLiteral("Skanowanie arkuszy"), QLatin1String(kPhoneStyleSheetPath));
    page += QStringLiteral("<h1>Skanowanie arkuszy</h1>\n<p class=\"ankieta\">") + EscapeHtml(title) +
            QStringLiteral("</p>\n");
    if (!answers.empty()) {
        page += QStringLiteral("<ul class=\"wyniki\">\n");
        for (const PhotoAnswer& answer : answers) {
            page += QStringLiteral("<li class=\"%1\">").arg(ClassOf(answer.kind)) + EscapeHtml(answer.text) +
                    QStringLiteral("</li>\n");
        }
        page += QStringLiteral("</ul>\n");
    }
    page += QStringLiteral("<form method=\"post\" action=\"") + Action(code) +
            QStringLiteral(
                "\" enctype=\"multipart/form-data\">\n"
                "<label class=\"aparat\" for=\"zdjecie\">Zrób zdjęcie arkusza</label>\n"
                "<input id=\"zdjecie\" name=\"zdjecie\" type=\"file\" accept=\"image/*\" "
                "capture=\"environment\" multiple required>\n"
                "<button type=\"submit\">Wyślij</button>\n</form>\n"
                "<p class=\"rada\">Połóż kartkę płasko, w równym świetle; w kadrze cała kartka "
                "z czterema czarnymi znacznikami w rogach.</p>\n");
    page += QStringLiteral("<p class=\"liczby\">Zdjęcia: %1 · dodane arkusze: %2 · do sprawdzenia: %3 · "
                           "nieodczytane zdjęcia: %4</p>\n")
                .arg(counts.photos)
                .arg(counts.added)
                .arg(counts.waiting)
                .arg(counts.notRead);
    return (page + collect::PageTail()).toUtf8();
}

QByteArray PhoneMessagePage(const QString& title, const QString& message, const QByteArray& code) {
    QString page = collect::PageHead(title, QLatin1String(kPhoneStyleSheetPath)) + QStringLiteral("<h1>") +
                   EscapeHtml(title) + QStringLiteral("</h1>\n<p class=\"wiadomosc\">") + EscapeHtml(message) +
                   QStringLiteral("</p>\n");
    if (!code.isEmpty()) {
        page += QStringLiteral("<p><a class=\"przycisk\" href=\"") + Action(code) +
                QStringLiteral("\">Wróć do aparatu</a></p>\n");
    }
    return (page + collect::PageTail()).toUtf8();
}

QByteArray PhoneStyleSheet() {
    // The collection's look, and the camera's button, the answers and the counts.
    return collect::StyleSheet() +
           QByteArrayLiteral(
               ".ankieta{color:#555;margin-top:-.6em}\n"
               ".wyniki{list-style:none;padding:0;margin:0 0 1em}\n"
               ".wyniki li{background:#fff;border-radius:8px;border-left:8px solid #888;margin:0 0 .5em;"
               "padding:.6em;font-weight:bold}\n"
               ".wyniki .dodany{border-color:#1e8449}\n"
               ".wyniki .czeka{border-color:#d68910}\n"
               ".wyniki .odrzucony{border-color:#c0392b}\n"
               ".aparat{display:block;font-weight:bold;margin:0 0 .4em}\n"
               "input[type=file]{display:block;width:100%;box-sizing:border-box;background:#fff;"
               "border-radius:8px;padding:.8em;margin:0 0 1em;font-size:1em}\n"
               "input[type=file]::file-selector-button{font-size:1.1em;padding:.6em 1em;border:0;"
               "border-radius:8px;background:#1f5fa8;color:#fff;margin-right:.6em}\n"
               ".rada,.liczby{color:#444;font-size:.9em}\n");
}

}  // namespace scan
