// The form page, the message pages and the stylesheet, and reading a sent form.
#include "collect/collection_page.h"

#include <algorithm>
#include <cctype>

#include "platform/encoding.h"

namespace collect {
namespace {

QString Letter(int answer) { return QString(QChar(u'a' + answer - 1)); }

QString Joined(const QByteArray& first, const QByteArray& second) {
    return (platform::FromCodePage(first).trimmed() + QLatin1Char(' ') +
            platform::FromCodePage(second).trimmed())
        .trimmed();
}

// "q<question>" of a question the form has, numbered without leading zeros.
int QuestionOfField(const QByteArray& name, int questions) {
    if (name.size() < 2 || name.size() > 4 || name[0] != 'q' || name[1] == '0') return 0;
    int question = 0;
    for (qsizetype i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        question = question * 10 + (name[i] - '0');
    }
    return question <= questions ? question : 0;
}

// Percent-decoding with '+' as a blank; nothing when a '%' is not followed by two hex digits.
std::optional<QByteArray> FormDecoded(QByteArray part) {
    part.replace('+', ' ');
    for (qsizetype i = part.indexOf('%'); i >= 0; i = part.indexOf('%', i + 1)) {
        if (i + 2 >= part.size() || !isxdigit(static_cast<unsigned char>(part[i + 1])) ||
            !isxdigit(static_cast<unsigned char>(part[i + 2]))) {
            return std::nullopt;
        }
    }
    return QByteArray::fromPercentEncoding(part);
}

}  // namespace

QString SurveyTitle(const QByteArray& surveyName) {
    const QString name = platform::FromCodePage(surveyName);
    QString title = name.mid(std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    if (title.endsWith(QStringLiteral(".ank"), Qt::CaseInsensitive)) title.chop(4);
    if (title.trimmed().isEmpty()) title = QStringLiteral("Ankieta");
    return title;
}

CollectionForm MakeCollectionForm(const results::ResultsTally& tally,
                                  const std::optional<std::vector<editor::QuestionRecord>>& survey) {
    CollectionForm form;
    form.title = SurveyTitle(tally.SurveyName);
    const bool texts = survey && survey->size() == tally.QuestionCount;
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        FormQuestion question;
        if (texts) {
            const editor::QuestionRecord& record = (*survey)[static_cast<std::size_t>(q - 1)];
            for (int line = 0; line < 2; ++line) {
                const QString text = platform::FromCodePage(record[line]).trimmed();
                if (!text.isEmpty()) question.lines << text;
            }
            for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
                question.answers << Joined(record[2 * a], record[2 * a + 1]);
            }
        } else {
            for (int a = 1; a <= tally.AnswerCount[q]; ++a) question.answers << QString();
        }
        if (question.lines.isEmpty()) question.lines << QStringLiteral("Pytanie %1").arg(q);
        form.questions.push_back(question);
    }
    return form;
}

QString EscapeHtml(const QString& text) { return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;")); }

QString PageHead(const QString& title, const QString& styleSheet) {
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"pl\"><head><meta charset=\"utf-8\">"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
               "<title>") +
           EscapeHtml(title) + QStringLiteral("</title><link rel=\"stylesheet\" href=\"") + EscapeHtml(styleSheet) +
           QStringLiteral("\"></head>\n<body><main>");
}

QString PageTail() { return QStringLiteral("</main></body></html>\n"); }

QByteArray FormPage(const CollectionForm& form, const QByteArray& token, const QString& notice,
                    const results::AnswerSheet& ticked) {
    QString page = PageHead(form.title);
    page += QStringLiteral("<h1>") + EscapeHtml(form.title) + QStringLiteral("</h1>\n");
    if (!notice.isEmpty()) {
        page += QStringLiteral("<p class=\"uwaga\">") + EscapeHtml(notice) + QStringLiteral("</p>\n");
    }
    page += QStringLiteral(
                "<form method=\"post\" action=\"/\" accept-charset=\"utf-8\">"
                "<input type=\"hidden\" name=\"token\" value=\"") +
            QString::fromLatin1(token) +
            QStringLiteral(
                "\">\n<p class=\"kod\"><label for=\"kod\">Kod podany przez prowadzącego</label>"
                "<input id=\"kod\" name=\"kod\" type=\"text\" inputmode=\"numeric\" "
                "maxlength=\"6\" pattern=\"[0-9]{6}\" title=\"Sześć cyfr\" autocomplete=\"off\" "
                "required></p>\n");
    for (std::size_t i = 0; i < form.questions.size(); ++i) {
        const int q = static_cast<int>(i) + 1;
        const FormQuestion& question = form.questions[i];
        page += QStringLiteral("<fieldset><legend><span class=\"nr\">%1.</span> ").arg(q);
        page += EscapeHtml(question.lines.join(QLatin1Char('\n'))).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
        page += QStringLiteral("</legend>\n");
        for (int a = 1; a <= question.answers.size(); ++a) {
            const QString& text = question.answers[a - 1];
            page += QStringLiteral("<label><input type=\"checkbox\" name=\"q%1\" value=\"%2\"%3> <span>%2)")
                        .arg(q)
                        .arg(Letter(a), ticked.IsMarked(q, a) ? QStringLiteral(" checked") : QString());
            if (!text.isEmpty()) page += QLatin1Char(' ') + EscapeHtml(text);
            page += QStringLiteral("</span></label>\n");
        }
        page += QStringLiteral("</fieldset>\n");
    }
    page += QStringLiteral("<button type=\"submit\">Wyślij</button></form>\n") + PageTail();
    return page.toUtf8();
}

QByteArray MessagePage(const QString& title, const QString& message, bool backToForm) {
    QString page = PageHead(title) + QStringLiteral("<h1>") + EscapeHtml(title) +
                   QStringLiteral("</h1>\n<p class=\"wiadomosc\">") + EscapeHtml(message) +
                   QStringLiteral("</p>\n");
    if (backToForm) page += QStringLiteral("<p><a class=\"przycisk\" href=\"/\">Wróć do formularza</a></p>\n");
    return (page + PageTail()).toUtf8();
}

QByteArray StyleSheet() {
    return QByteArrayLiteral(
        "body{margin:0;background:#eef1f5;color:#1a1a1a;font:18px/1.4 sans-serif}\n"
        "main{max-width:40em;margin:0 auto;padding:1em}\n"
        "h1{font-size:1.4em;margin:.2em 0 .8em}\n"
        ".uwaga{background:#fde2e1;border:2px solid #c0392b;border-radius:8px;padding:.6em}\n"
        ".wiadomosc{font-size:1.1em}\n"
        ".kod{background:#fff;border-radius:8px;padding:.8em}\n"
        ".kod label{display:block;font-weight:bold;margin-bottom:.3em}\n"
        ".kod input{font-size:1.4em;width:7em;letter-spacing:.15em;padding:.2em}\n"
        "fieldset{background:#fff;border:0;border-radius:8px;margin:0 0 1em;padding:.8em}\n"
        "legend{float:left;width:100%;padding:0;margin-bottom:.4em;font-weight:bold}\n"
        ".nr{color:#555}\n"
        "label{display:flex;align-items:flex-start;gap:.5em;padding:.45em 0;clear:both}\n"
        "input[type=checkbox]{width:1.4em;height:1.4em;flex:none;margin:0}\n"
        "button,.przycisk{display:block;width:100%;box-sizing:border-box;font-size:1.2em;"
        "padding:.7em;border:0;border-radius:8px;background:#1f5fa8;color:#fff;"
        "text-align:center;text-decoration:none}\n");
}

int MaxSubmissionSize(const CollectionForm& form) {
    // "q250=i&" is at most seven bytes; the code and the token take under a hundred.
    int marks = 0;
    for (const FormQuestion& question : form.questions) marks += static_cast<int>(question.answers.size());
    return 4096 + 8 * marks;
}

std::optional<Submission> ParseSubmission(const QByteArray& body, const CollectionForm& form) {
    Submission submission;
    bool code = false;
    bool token = false;
    const int questions = static_cast<int>(form.questions.size());
    for (const QByteArray& pair : body.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals < 0) return std::nullopt;
        const auto name = FormDecoded(pair.left(equals));
        const auto value = FormDecoded(pair.mid(equals + 1));
        if (!name || !value) return std::nullopt;
        if (*name == "kod" && !code) {
            code = true;
            submission.code = value->trimmed();
        } else if (*name == "token" && !token) {
            token = true;
            submission.token = *value;
        } else {
            const int q = QuestionOfField(*name, questions);
            if (q == 0 || value->size() != 1) return std::nullopt;
            const int a = (*value)[0] - 'a' + 1;
            const int answers = static_cast<int>(form.questions[static_cast<std::size_t>(q - 1)].answers.size());
            if (a < 1 || a > answers || submission.sheet.IsMarked(q, a)) return std::nullopt;
            submission.sheet.Toggle(q, a);
        }
    }
    if (!code || !token) return std::nullopt;
    return submission;
}

}  // namespace collect
