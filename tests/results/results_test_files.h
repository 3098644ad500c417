// Results files for the tests: CR LF lines, and the example questionnaire of two questions.
#pragma once

#include <QByteArray>
#include <QList>

namespace results_testing {

inline QByteArray Lines(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    return bytes;
}

// Twelve respondents; question 1 has answers chosen 5, 4 and 3 times, question 2 7 and 5 times;
// two text lines in Windows-1250 ("Pytanie o świątecznych zakupach", "Tak / Nie").
inline QByteArray ExampleFile(const QByteArray& name = "Ankieta", const QByteArray& respondents = "12") {
    return Lines({"RESULTS", name, respondents, "2", "3", "5", "4", "3", "2", "7", "5",
                  "Pytanie o \x9Cwi\xB9tecznych zakupach", "Tak / Nie"});
}

}  // namespace results_testing
