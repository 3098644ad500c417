// The window of a collection of answers over the local network: the address to type and its QR
// code, the collection's code, the number of answers received, "Pozwól odpowiadać wielokrotnie"
// and "Zakończ". The collection is served by the program's web server exactly while this window
// is open.
#pragma once

#include <QImage>
#include <memory>

#include "collect/collection_server.h"
#include "platform/form.h"
#include "platform/shared_http_server.h"
#include "results/results_manager_window.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace collect {

class TForm11 : public platform::Form {
    Q_OBJECT
public:
    TForm11(platform::Dialogs& dialogs, results::TForm3& manager, const results::ResultsStore& store,
            platform::SharedHttpServer& server);
    ~TForm11() override;

    // "Zbieraj odpowiedzi w sieci...": a new collection of the loaded results, served at "/" of
    // the program's web server (started when it does not run yet), and the window shown; while
    // one runs, the window is only brought to the front.
    void StartCollecting();
    bool Collecting() const { return service_ != nullptr; }
    quint16 Port() const;
    const Collection* CurrentCollection() const { return collection_.get(); }

    QLabel* Label1;  // "Wpisz w przeglądarce telefonu:"
    QLabel* Label2;  // the addresses
    QLabel* Label3;  // "Kod ankiety:"
    QLabel* Label4;  // the code
    QLabel* Label5;  // "Odebrane odpowiedzi: N"
    QLabel* Image1;  // the QR code of the first address
    QCheckBox* CheckBox1;  // "Pozwól odpowiadać wielokrotnie"
    QPushButton* Button1;  // "Zakończ"

protected:
    void FormClose() override;

private:
    void CheckBox1Click();
    void Button1Click();
    void ShowAccepted();

    results::TForm3& manager_;
    const results::ResultsStore& store_;
    platform::SharedHttpServer& server_;
    std::unique_ptr<Collection> collection_;
    std::unique_ptr<platform::SharedHttpServer::Service> service_;
};

// The QR code of `text` drawn black on white, centred on a square picture of `side` pixels with
// a quiet border of four modules.
QImage QrCodePicture(const QString& text, int side);

}  // namespace collect
