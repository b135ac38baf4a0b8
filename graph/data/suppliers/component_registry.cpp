#include "graph/data/suppliers/component_registry.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {

std::vector<QPointer<QObject>>& DataModules()
{
    static std::vector<QPointer<QObject>> modules;
    return modules;
}

}  // namespace

void RegisterDataModule(QObject& module)
{
    DataModules().emplace_back(&module);
}

std::vector<QObject*> ComponentOwners()
{
    std::vector<QObject*> owners;
    std::erase_if(DataModules(), [](const QPointer<QObject>& module) { return module.isNull(); });
    for (const QPointer<QObject>& module : DataModules())
        owners.push_back(module.data());
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        for (QWidget* form : QApplication::topLevelWidgets())
            owners.push_back(form);
    return owners;
}
