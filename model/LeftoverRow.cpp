#include "model/LeftoverRow.h"

#include <QCoreApplication>

QString caseName(LeftoverCertainty certainty)
{
    return certainty == LeftoverCertainty::certain ? QStringLiteral("certain")
                                                   : QStringLiteral("likely");
}

QString displayName(LeftoverCertainty certainty)
{
    return certainty == LeftoverCertainty::certain
               ? QCoreApplication::translate("LeftoverRow", "Certain")
               : QCoreApplication::translate("LeftoverRow", "Likely");
}
