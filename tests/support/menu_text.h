// The text of a menu or a menu item as the user reads it: without the "&" that marks its Alt
// letter ("&&" stands for one "&").
#pragma once

#include <QAction>
#include <QString>

namespace testing_support {

inline QString ItemText(const QAction* item) {
    const QString marked = item->text();
    QString text;
    for (qsizetype i = 0; i < marked.size(); ++i) {
        if (marked[i] == u'&' && ++i == marked.size()) break;
        text += marked[i];
    }
    return text;
}

}  // namespace testing_support
