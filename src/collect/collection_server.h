// One collection of answers over the local network: its six-digit code, the pages it serves and
// the checks every sent form passes before it becomes a sheet in the loaded results.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <cstdint>
#include <deque>
#include <functional>

#include "collect/collection_page.h"
#include "platform/http_server.h"
#include "results/answer_sheet.h"
#include "results/results_file.h"

namespace collect {

// Six random digits.
QByteArray NewCollectionCode();

class Collection {
public:
    using AddSheet = std::function<results::ResultsOutcome(const results::AnswerSheet&)>;
    using Clock = std::function<std::int64_t()>;  // milliseconds, never going back

    // Wrong codes from one address are free this many times; each one after that shuts the
    // address out for twice as long as the one before, from one second up to a minute.
    static constexpr int kFreeWrongCodes = 5;
    // Forms handed out and not yet sent; the oldest is forgotten beyond this.
    static constexpr int kMaxOpenForms = 10000;

    Collection(CollectionForm form, AddSheet addSheet, QByteArray code = NewCollectionCode(),
               Clock clock = {});

    // Serves "/" (the form) and "/styl.css", and takes a sent form by POST to "/".
    platform::HttpResponse Handle(const platform::HttpRequest& request);

    const QByteArray& Code() const { return code_; }
    int Accepted() const { return accepted_; }
    // "Pozwól odpowiadać wielokrotnie": a browser that has answered may answer again.
    void SetRepeatAllowed(bool allowed) { repeatAllowed_ = allowed; }
    // Run after each accepted answer.
    std::function<void()> OnAccepted;

private:
    struct WrongCodes {
        int count = 0;
        std::int64_t shutUntil = 0;
    };

    platform::HttpResponse ServeForm(const platform::HttpRequest& request);
    platform::HttpResponse TakeAnswer(const platform::HttpRequest& request);
    // A fresh form for the browser, `notice` above it and `ticked` ticked.
    platform::HttpResponse FormResponse(const QByteArray& browser, int status, const QString& notice,
                                        const results::AnswerSheet& ticked);
    QByteArray IssueToken(const QByteArray& browser);
    void NoteWrongCode(const QString& address);

    CollectionForm form_;
    AddSheet addSheet_;
    QByteArray code_;
    Clock clock_;
    int maxBody_;
    QByteArray blankPageHead_, blankPageTail_;  // the unticked form around its token
    bool repeatAllowed_ = false;
    int accepted_ = 0;
    QHash<QByteArray, QByteArray> openForms_;  // token -> the browser it was handed to
    std::deque<QByteArray> openFormOrder_;
    QSet<QByteArray> answered_;  // browsers whose answer was taken
    QHash<QString, WrongCodes> wrongCodes_;
};

}  // namespace collect
