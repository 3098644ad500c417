// One collection of answers over the local network: its six-digit code, the pages it serves and
// the checks every sent form passes before it becomes a sheet in the loaded results.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <cstdint>
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

    // After this many wrong codes from one address (an IPv6 /64), the address is shut out for a
    // second, and after each further one for twice as long as before, up to a minute. The count
    // is kept for the whole collection: a right code does not clear it.
    static constexpr int kFreeWrongCodes = 5;

    Collection(CollectionForm form, AddSheet addSheet, QByteArray code = NewCollectionCode(),
               Clock clock = {});

    // Serves "/" (the form) and "/styl.css", and takes a sent form by POST to "/".
    platform::HttpResponse Handle(const platform::HttpRequest& request);
    // The longest body a request of this head may bring: a sent form's largest size for a POST
    // to "/", nothing for anything else.
    qint64 BodyLimit(const platform::HttpRequest& head) const;

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
    // A page's token: random, signed together with the browser's id under this collection's
    // key. A token is good only in the browser it was handed to, and nothing is kept of the
    // pages handed out, so no number of pages loaded can make an open form void.
    QByteArray IssueToken(const QByteArray& browser) const;
    bool IsTokenOf(const QByteArray& token, const QByteArray& browser) const;
    void NoteWrongCode(const QString& address);

    CollectionForm form_;
    AddSheet addSheet_;
    QByteArray code_;
    Clock clock_;
    int maxBody_;
    QByteArray blankPageHead_, blankPageTail_;  // the unticked form around its token
    bool repeatAllowed_ = false;
    int accepted_ = 0;
    QByteArray tokenKey_;
    // Tokens of forms sent with the right code and taken, or with a wrong one: at most one per
    // answer taken and per wrong code, which the shutting out keeps few.
    QSet<QByteArray> usedTokens_;
    QSet<QByteArray> answered_;  // browsers whose answer was taken
    QHash<QString, WrongCodes> wrongCodes_;  // by address group
};

}  // namespace collect
