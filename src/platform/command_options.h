// The options of the program's commands ("raport", "arkusze", "skany"): "-o value",
// "--name value" and "--name=value", "-h"/"--help", "--" before names that begin with "-", and
// every other argument an input, in the order given.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace platform {

struct CommandOptions {
    QHash<QString, QString> values;  // by the option's long name, "--output" for "-o" too
    QStringList inputs;
    bool help = false;

    QString Value(const QString& name) const { return values.value(name); }
    bool Has(const QString& name) const { return values.contains(name); }
};

// Reads `arguments` for the options named in `valueOptions` (long names, "--output"; each may
// list its short form after a "|": "--output|-o"). Throws std::invalid_argument with the
// Polish reason for an unknown option or a missing value.
CommandOptions ParseCommandOptions(const QStringList& arguments, const QStringList& valueOptions);

}  // namespace platform
