// The pages of phone scanning as the teacher's phone shows them (plain HTML and CSS, no script):
// the camera's button and "Wyślij", after each sending what became of every photo, and the
// counts of the scanning so far.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace scan {

// What the phone scanning has taken so far.
struct PhoneCounts {
    int photos = 0;   // photos received (past the checks of their files)
    int added = 0;    // sheets added to the loaded results
    int waiting = 0;  // sheets waiting for a person: a doubtful box, or a page still to come
    int notRead = 0;  // photos in which no sheet of these results could be read
};

// What became of one photo, as the page says it.
struct PhotoAnswer {
    enum class Kind { Added, Waiting, Refused } kind = Kind::Refused;
    QString text;  // "Arkusz 17: dodany"
};

// The page of a scanning: `answers` of the last sending (none after opening), the camera's
// button and "Wyślij" sending to this scanning's address with its `code`, and the counts.
QByteArray PhonePage(const QString& title, const QByteArray& code, const std::vector<PhotoAnswer>& answers,
                     const PhoneCounts& counts);
// A page of one message, with the way back to the camera when `code` is given.
QByteArray PhoneMessagePage(const QString& title, const QString& message, const QByteArray& code = {});
QByteArray PhoneStyleSheet();

// Where the phone scanning is served, and its page's address on a server's `origin`
// ("http://192.168.1.20:8080"): "/telefon?kod=<code>".
constexpr char kPhonePath[] = "/telefon";
constexpr char kPhoneStyleSheetPath[] = "/telefon/styl.css";
QString PhonePageAddress(const QString& origin, const QByteArray& code);

}  // namespace scan
