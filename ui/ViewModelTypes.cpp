#include "ui/ViewModelTypes.h"

#include "viewmodel/CategoryEnums.h"
#include "viewmodel/ContentViewModel.h"

#include <QtQml/qqml.h>

void registerViewModelTypes()
{
    static const bool registered = [] {
        qmlRegisterUncreatableType<ContentViewModel>(
            "Verlo", 1, 0, "ContentViewModel",
            QStringLiteral("The window is given its view model"));
        qmlRegisterUncreatableType<HomeCoverage>("Verlo", 1, 0, "HomeCoverage",
                                                 QStringLiteral("The view model owns it"));
        const QString enumsOnly = QStringLiteral("Only its values are used");
        qmlRegisterUncreatableMetaObject(Category::staticMetaObject, "Verlo", 1, 0, "Category",
                                         enumsOnly);
        qmlRegisterUncreatableMetaObject(Safety::staticMetaObject, "Verlo", 1, 0, "Safety",
                                         enumsOnly);
        return true;
    }();
    Q_UNUSED(registered);
}
