// Reading the options of the program's commands.
#include "platform/command_options.h"

#include <stdexcept>

namespace platform {
namespace {

[[noreturn]] void Refuse(const QString& reason) {
    throw std::invalid_argument(reason.toStdString());
}

}  // namespace

CommandOptions ParseCommandOptions(const QStringList& arguments, const QStringList& valueOptions) {
    // Every spelling of an option, long or short, to its long name.
    QHash<QString, QString> longName;
    for (const QString& option : valueOptions) {
        const QStringList spellings = option.split(u'|');
        for (const QString& spelling : spellings) longName.insert(spelling, spellings.front());
    }
    CommandOptions line;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == QStringLiteral("-")) {
            line.inputs << argument;
            continue;
        }
        if (argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help")) {
            line.help = true;
            continue;
        }
        QString name = argument;
        QString value;
        const qsizetype equals = argument.indexOf(u'=');
        const bool joined = argument.startsWith(QStringLiteral("--")) && equals > 0;
        if (joined) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
        }
        if (!longName.contains(name)) Refuse(QStringLiteral("nieznana opcja %1").arg(argument));
        if (!joined) {
            if (i + 1 >= arguments.size()) {
                Refuse(QStringLiteral("opcja %1 wymaga wartości").arg(name));
            }
            value = arguments[++i];
        }
        line.values.insert(longName.value(name), value);
    }
    return line;
}

}  // namespace platform
