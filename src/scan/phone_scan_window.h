// The window of the teacher's phone scanning ("Skanuj arkusze telefonem…"): the address of the
// phone's page with its code, as a QR code to photograph, the counts of photos received, sheets
// added, sheets waiting for review and photos not read, and "Zakończ". The scanning is served by
// the program's web server exactly while this window is open; the sheets still waiting then go
// to the review window.
#pragma once

#include <memory>

#include "platform/form.h"
#include "platform/shared_http_server.h"
#include "scan/phone_scanning.h"

class QLabel;
class QPushButton;

namespace scan {

class SheetReviewWindow;

class PhoneScanWindow : public platform::Form {
    Q_OBJECT
public:
    PhoneScanWindow(platform::Dialogs& dialogs, results::TForm3& manager, ReadSheetNumbers& numbers,
                    SheetReviewWindow& review, platform::SharedHttpServer& server);
    ~PhoneScanWindow() override;

    // "Skanuj arkusze telefonem…": a new scanning of the loaded results, served at "/telefon" of
    // the program's web server (started when it does not run yet), and the window shown; while
    // one runs, the window is only brought to the front.
    void StartScanning();
    bool Scanning() const { return service_ != nullptr; }
    quint16 Port() const { return service_ ? service_->Port() : 0; }
    const PhoneScanning* CurrentScanning() const { return scanning_.get(); }
    // How photos are read: ReadPhoto; tests give made-up readings.
    PhoneScanning::PhotoReader Reader = &ReadPhoto;

    QLabel* Label1;  // "Zeskanuj kod QR aparatem telefonu nauczyciela albo otwórz w nim adres:"
    QLabel* Label2;  // the page's addresses, code included
    QLabel* Label3;  // "Kod telefonu: …"
    QLabel* Image1;  // the QR code of the first address
    QLabel* Label4;  // "Odebrane zdjęcia: N"
    QLabel* Label5;  // "Dodane arkusze: N"
    QLabel* Label6;  // "Arkusze do sprawdzenia: N"
    QLabel* Label7;  // "Nieodczytane zdjęcia: N"
    QPushButton* Button1;  // "Zakończ"

protected:
    void FormClose() override;

private:
    void ShowCounts();

    results::TForm3& manager_;
    ReadSheetNumbers& numbers_;
    SheetReviewWindow& review_;
    platform::SharedHttpServer& server_;
    std::unique_ptr<PhoneScanning> scanning_;
    std::unique_ptr<platform::SharedHttpServer::Service> service_;
    bool resultsGone_ = false;
};

}  // namespace scan
