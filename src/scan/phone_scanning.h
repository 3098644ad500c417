// The teacher's phone scanning of the loaded results' paper sheets, served at "/telefon" of the
// program's web server: the code that alone opens its page, the photos of each sending checked
// before anything decodes them, then read on worker threads while the server and the windows go
// on, and taken in as scanned pages are: a sheet whose pages are all there and decided is added,
// one with a doubtful box or a page still to come waits for the review window, a photo that
// cannot be read is refused. The phone's answer comes when its photos are read.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "collect/wrong_codes.h"
#include "platform/http_server.h"
#include "scan/phone_page.h"
#include "scan/sheet_assembly.h"

namespace results {
class TForm3;
}

namespace scan {

class ReadSheetNumbers;

// Twelve letters and digits from the system's random source, none that is easily taken for
// another (no 0, O, 1, I or L).
QByteArray NewPhoneCode();

// One photo's file, checked already, decoded and read against `target` as a scanned page; a
// page with its error set when it cannot be decoded. Safe to call from several threads at once.
ScannedPage ReadPhoto(const QByteArray& file, const ScanTarget& target);

class PhoneScanning {
public:
    using PhotoReader = std::function<ScannedPage(const QByteArray& file, const ScanTarget& target)>;

    static constexpr int kMostPhotosAtOnce = 10;
    // The longest sending: that many photos of the largest size, and the form around them.
    static constexpr qint64 kMostSendingBytes = 5 * 20'000'000 + 64 * 1024;

    // A scanning of the manager's loaded results; their sheets go in through the manager and
    // their numbers into `numbers`.
    PhoneScanning(results::TForm3& manager, ReadSheetNumbers& numbers, QByteArray code = NewPhoneCode(),
                  PhotoReader reader = &ReadPhoto, collect::WrongCodeWaits::Clock clock = {});
    ~PhoneScanning();
    PhoneScanning(const PhoneScanning&) = delete;
    PhoneScanning& operator=(const PhoneScanning&) = delete;

    // What a request's head is let in with: only the page's path with the right code in its
    // query, a sending with a body of at most kMostSendingBytes; a wrong code counts against its
    // address as the collection's do.
    platform::HttpAdmission Admit(const platform::HttpRequest& head);
    // Serves the page and its stylesheet and takes the sendings of photos; a sending is answered
    // once its photos are read.
    void Handle(platform::HttpRequest request, const platform::HttpResponder& responder);

    const QByteArray& Code() const { return code_; }
    const PhoneCounts& Counts() const { return counts_; }
    // Sendings whose photos are still being read.
    int SendingsBeingRead() const { return static_cast<int>(sendings_.size()); }
    // The sheets waiting for a person, taken out for the review window: from now on their pages
    // are refused as read.
    std::vector<ScannedSheet> TakeWaiting();
    // Run after every sending taken in.
    std::function<void()> OnCounted;

private:
    struct Sending;

    void TakePhotos(platform::HttpRequest request, const platform::HttpResponder& responder);
    void PhotoRead(Sending* sending, std::size_t photo, ScannedPage page);
    PhotoAnswer Take(ScannedPage page);
    platform::HttpResponse Refusal(int status, const QString& title, const QString& text) const;

    results::TForm3& manager_;
    ReadSheetNumbers& numbers_;
    const QByteArray code_;
    const PhotoReader reader_;
    const std::shared_ptr<const ScanTarget> target_;  // shared with the readings under way
    const QString title_;
    collect::WrongCodeWaits wrongCodes_;
    SheetAssembly assembly_;
    std::set<int> waiting_;  // sheets of the assembly not yet added nor handed on
    QSet<int> settled_;      // sheets added, handed to the review window, or refused by the results
    PhoneCounts counts_;
    std::vector<std::unique_ptr<Sending>> sendings_;
    // The readings' answers come through it; gone with the scanning, they come to nothing.
    std::unique_ptr<QObject> context_;
};

}  // namespace scan
