#include "graph/data/suppliers/create_supplier.h"

#include "graph/data/suppliers/db_supplier.h"
#include "graph/data/suppliers/txt_supplier.h"
#include "graph/data/suppliers/xy_holder.h"

namespace {

std::unique_ptr<TDataSupplier> TextSupplier(const TSourceSettings& settings)
{
    auto supplier = std::make_unique<TTxtSupplier>(settings.DivideTextByWidth, settings.ColumnWidth,
                                                   settings.TextSeparators, settings.TextMarkers);
    bool opened = false;
    if (settings.DataSource == 1) {
        opened = supplier->OpenFile(settings.DatasourceInfo);
    } else {
        // The holder's own lines are read in place; it outlives the fill.
        const TxyHolder* holder = FindHolder(settings.DatasourceInfo);
        opened = holder != nullptr && supplier->OpenLines(holder->data());
    }
    if (!opened)
        return nullptr;
    return supplier;
}

std::unique_ptr<TDataSupplier> DatabaseSupplier(const TSourceSettings& settings)
{
    auto supplier = std::make_unique<TDBSupplier>();
    supplier->SetRowLimit(settings.RowLimit);
    const std::string& info = settings.DatasourceInfo;
    const bool opened = settings.DataSource == 2   ? supplier->OpenDataSource(info)
                        : settings.DataSource == 3 ? supplier->OpenTable(info)
                                                   : supplier->OpenQuery(info);
    if (!opened)
        return nullptr;
    return supplier;
}

}  // namespace

std::unique_ptr<TDataSupplier> CreateSupplier(const TSourceSettings& settings)
{
    switch (settings.DataSource) {
    case 1:
    case 5:
        return TextSupplier(settings);
    case 2:
    case 3:
    case 4:
        return DatabaseSupplier(settings);
    default:
        return nullptr;
    }
}

void InstallDataSuppliers()
{
    SetSupplierFactory(&CreateSupplier);
}
