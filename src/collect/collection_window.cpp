// The collection window: starting and stopping the server, and what the teacher sees.
#include "collect/collection_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "editor/survey_file.h"
#include "platform/accessibility.h"
#include "platform/canvas.h"
#include "platform/encoding.h"
#include "platform/qr_code.h"

namespace collect {
namespace {

constexpr int kQrSide = 210;

}  // namespace

QImage QrCodePicture(const QString& text, int side) {
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const platform::QrCode code = platform::EncodeQrCode(text);
    if (code.size == 0) return picture;
    const int module = std::max(1, side / (code.size + 8));
    const int origin = (side - module * code.size) / 2;
    platform::Canvas canvas(picture);
    canvas.SetBrush(Qt::black);
    for (int y = 0; y < code.size; ++y) {
        for (int x = 0; x < code.size; ++x) {
            if (!code.Dark(x, y)) continue;
            const int left = origin + x * module;
            const int top = origin + y * module;
            canvas.FillRect(left, top, left + module, top + module);
        }
    }
    return picture;
}

TForm11::TForm11(platform::Dialogs& dialogs, results::TForm3& manager,
                 const results::ResultsStore& store, platform::SharedHttpServer& server)
    : Form(dialogs, QStringLiteral("Zbieranie odpowiedzi w sieci"), QSize(540, 300),
           platform::BorderStyle::Dialog),
      manager_(manager),
      store_(store),
      server_(server) {
    CentreOnScreen();
    QWidget* client = Client();
    Label1 = AddLabel({16, 12, 290, 20}, false, 10);
    Label1->setText(QStringLiteral("Wpisz w przeglądarce telefonu adres:"));
    Label2 = AddLabel({16, 34, 300, 76}, true, 14);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label3 = AddLabel({16, 116, 290, 20}, false, 10);
    Label3->setText(QStringLiteral("albo zeskanuj kod QR. Kod ankiety:"));
    Label4 = AddLabel({16, 138, 290, 48}, true, 30);
    Label5 = AddLabel({16, 196, 300, 24}, true, 12);
    Image1 = new QLabel(client);
    Image1->setGeometry(316, 12, kQrSide, kQrSide);
    CheckBox1 = AddCheckBox(QStringLiteral("Pozwól odpowiadać wielokrotnie"), {16, 232, 290, 20});
    Button1 = AddButton(QStringLiteral("Zakończ"), {428, 262, 98, 27});
    OnToggle(CheckBox1, [this] { CheckBox1Click(); });
    OnClick(Button1, [this] { Button1Click(); });
    // Escape ends the collection as "Zakończ" does.
    OnShortcut(QKeySequence(Qt::Key_Escape), [this] { Button1Click(); });
    platform::NameControl(Image1, QStringLiteral("Kod QR adresu"));
    // Closing or resetting the results ends the collection at once.
    connect(&manager_, &results::TForm3::ResultsClosed, this, [this] { CloseForm(); });
}

TForm11::~TForm11() = default;

quint16 TForm11::Port() const { return service_ ? service_->Port() : 0; }

void TForm11::StartCollecting() {
    if (Collecting()) return ShowForm();
    const QString surveyPath = platform::FromCodePage(store_.Tally.SurveyName);
    CollectionForm form = MakeCollectionForm(store_.Tally, editor::ReadSurveyFile(surveyPath));
    auto collection = std::make_unique<Collection>(
        std::move(form), [this](const results::AnswerSheet& sheet) { return manager_.AddSheet(sheet); });
    collection->OnAccepted = [this] { ShowAccepted(); };
    Collection* handler = collection.get();
    auto serve = [handler](const platform::HttpRequest& request) { return handler->Handle(request); };
    auto bodyLimit = [handler](const platform::HttpRequest& head) { return handler->BodyLimit(head); };
    std::unique_ptr<platform::SharedHttpServer::Service> service =
        server_.Join(QByteArrayLiteral("/"), platform::HttpHandler(serve), bodyLimit);
    if (!service) {
        dialogs().Notice(QStringLiteral("Nie udało się uruchomić serwera odpowiedzi na tym komputerze..."));
        return;
    }
    collection_ = std::move(collection);
    service_ = std::move(service);

    QStringList addresses;
    for (const QString& ip : platform::LocalNetworkAddresses()) {
        addresses << QStringLiteral("http://%1:%2/").arg(ip).arg(service_->Port());
    }
    if (addresses.isEmpty()) {
        Label2->setText(QStringLiteral("Ten komputer nie jest połączony z siecią lokalną."));
        Image1->clear();
    } else {
        Label2->setText(addresses.join(QLatin1Char('\n')));
        Image1->setPixmap(QPixmap::fromImage(QrCodePicture(addresses.first(), kQrSide)));
        Image1->setAccessibleDescription(addresses.first());
    }
    Label4->setText(QString::fromLatin1(collection_->Code()));
    // Read as "Kod ankiety: 123456", not as a bare number.
    platform::NameControl(Label4, QStringLiteral("Kod ankiety: ") + Label4->text());
    collection_->SetRepeatAllowed(CheckBox1->isChecked());
    ShowAccepted();
    ShowForm();
}

void TForm11::ShowAccepted() {
    Label5->setText(QStringLiteral("Odebrane odpowiedzi: %1").arg(collection_ ? collection_->Accepted() : 0));
}

void TForm11::CheckBox1Click() {
    if (collection_) collection_->SetRepeatAllowed(CheckBox1->isChecked());
}

void TForm11::Button1Click() { CloseForm(); }

void TForm11::FormClose() {
    // The service first: from now on nothing is served and nothing counted (and the server stops
    // unless another service still uses it).
    service_.reset();
    collection_.reset();
}

}  // namespace collect
