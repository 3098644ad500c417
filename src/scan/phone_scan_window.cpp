// The phone scanning's window: starting and stopping the scanning with it, and what the teacher
// sees.
#include "scan/phone_scan_window.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "collect/collection_window.h"
#include "platform/dialogs.h"
#include "results/results_manager_window.h"
#include "scan/sheet_review_window.h"

namespace scan {
namespace {

constexpr int kQrSide = 230;

}  // namespace

PhoneScanWindow::PhoneScanWindow(platform::Dialogs& dialogs, results::TForm3& manager, ReadSheetNumbers& numbers,
                                 SheetReviewWindow& review, platform::SharedHttpServer& server)
    : Form(dialogs, QStringLiteral("Skanowanie arkuszy telefonem"), QSize(580, 300), platform::BorderStyle::Dialog),
      manager_(manager),
      numbers_(numbers),
      review_(review),
      server_(server) {
    CentreOnScreen();
    Label1 = AddLabel({16, 12, 310, 40}, false, 10);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral("Zeskanuj kod QR aparatem telefonu nauczyciela albo otwórz w nim adres:"));
    Label2 = AddLabel({16, 58, 310, 40}, true, 9);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label3 = AddLabel({16, 102, 310, 20}, false, 10);
    Label4 = AddLabel({16, 134, 310, 24}, true, 12);
    Label5 = AddLabel({16, 160, 310, 24}, true, 12);
    Label6 = AddLabel({16, 186, 310, 24}, true, 12);
    Label7 = AddLabel({16, 212, 310, 24}, true, 12);
    Image1 = AddLabel({334, 12, kQrSide, kQrSide});
    Image1->setAccessibleName(QStringLiteral("Kod QR strony do zdjęć arkuszy"));
    Button1 = AddButton(QStringLiteral("Zakończ"), {466, 262, 98, 27});
    OnClick(Button1, [this] { CloseForm(); });
    // Closing or resetting the results ends the scanning at once; what waited went with them.
    connect(&manager_, &results::TForm3::ResultsClosed, this, [this] {
        if (!Scanning()) return;
        resultsGone_ = true;
        CloseForm();
    });
}

PhoneScanWindow::~PhoneScanWindow() = default;

void PhoneScanWindow::StartScanning() {
    if (Scanning()) return ShowForm();
    auto scanning = std::make_unique<PhoneScanning>(manager_, numbers_, NewPhoneCode(), Reader);
    PhoneScanning* handler = scanning.get();
    auto serve = [handler](platform::HttpRequest request, const platform::HttpResponder& responder) {
        handler->Handle(std::move(request), responder);
    };
    auto admit = [handler](const platform::HttpRequest& head) { return handler->Admit(head); };
    std::unique_ptr<platform::SharedHttpServer::Service> service =
        server_.Join(kPhonePath, platform::HttpDeferredHandler(serve), admit);
    if (!service) {
        dialogs().Notice(QStringLiteral("Nie udało się uruchomić serwera na tym komputerze..."));
        return;
    }
    scanning_ = std::move(scanning);
    service_ = std::move(service);
    resultsGone_ = false;
    scanning_->OnCounted = [this] { ShowCounts(); };

    QStringList addresses;
    for (const QString& ip : platform::LocalNetworkAddresses()) {
        addresses << PhonePageAddress(QStringLiteral("http://%1:%2").arg(ip).arg(service_->Port()), scanning_->Code());
    }
    if (addresses.isEmpty()) {
        Label2->setText(QStringLiteral("Ten komputer nie jest połączony z siecią lokalną."));
        Image1->clear();
    } else {
        Label2->setText(addresses.join(QLatin1Char('\n')));
        Image1->setPixmap(QPixmap::fromImage(collect::QrCodePicture(addresses.first(), kQrSide)));
    }
    Label3->setText(QStringLiteral("Kod telefonu: %1").arg(QString::fromLatin1(scanning_->Code())));
    ShowCounts();
    ShowForm();
}

void PhoneScanWindow::ShowCounts() {
    const PhoneCounts counts = scanning_ ? scanning_->Counts() : PhoneCounts{};
    Label4->setText(QStringLiteral("Odebrane zdjęcia: %1").arg(counts.photos));
    Label5->setText(QStringLiteral("Dodane arkusze: %1").arg(counts.added));
    Label6->setText(QStringLiteral("Arkusze do sprawdzenia: %1").arg(counts.waiting));
    Label7->setText(QStringLiteral("Nieodczytane zdjęcia: %1").arg(counts.notRead));
}

void PhoneScanWindow::FormClose() {
    // The scanning first: from now on nothing is counted, and the phones whose photos are still
    // being read are told it has ended. Then the service, before anything more can come to it:
    // nothing is served (and the server stops unless the collection still uses it).
    std::vector<ScannedSheet> waiting = scanning_ ? scanning_->TakeWaiting() : std::vector<ScannedSheet>{};
    scanning_.reset();
    service_.reset();
    if (resultsGone_ || waiting.empty()) return;
    review_.Append(std::move(waiting));
}

}  // namespace scan
