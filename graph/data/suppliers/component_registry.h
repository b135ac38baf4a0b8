#pragma once

#include <functional>
#include <vector>

#include <QObject>

// The program's components as data sources look them up by name: first those
// owned by each data module, in the order the modules were registered, then those
// of each open form (a top-level widget). The first match wins.

// A data module is any object that owns components; it stays registered until it
// is destroyed.
void RegisterDataModule(QObject& module);

// Data modules in registration order, then forms.
std::vector<QObject*> ComponentOwners();

template <typename TComponent>
TComponent* FindComponent(const std::function<bool(const TComponent&)>& matches)
{
    for (QObject* owner : ComponentOwners())
        for (TComponent* component : owner->findChildren<TComponent*>())
            if (matches(*component))
                return component;
    return nullptr;
}
