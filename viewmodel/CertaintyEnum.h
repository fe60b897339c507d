#pragma once

#include "model/LeftoverRow.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// LeftoverCertainty as QML compares it (Certainty.Certain), capitalised, same order and values.
namespace Certainty {
Q_NAMESPACE
QML_ELEMENT

enum class Value
{
    Certain,
    Likely,
};
Q_ENUM_NS(Value)
static_assert(int(Value::Certain) == int(LeftoverCertainty::certain) &&
              int(Value::Likely) == int(LeftoverCertainty::likely));

inline Value of(LeftoverCertainty certainty)
{
    return static_cast<Value>(certainty);
}

} // namespace Certainty
