#include "ui/ViewModelTypes.h"

#include "viewmodel/ContentViewModel.h"

#include <QtQml/qqml.h>

void registerViewModelTypes()
{
    static const int type = qmlRegisterUncreatableType<ContentViewModel>(
        "Verlo", 1, 0, "ContentViewModel", QStringLiteral("The window is given its view model"));
    Q_UNUSED(type);
}
