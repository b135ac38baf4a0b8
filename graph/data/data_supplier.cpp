#include "graph/data/data_supplier.h"

#include <cctype>

#include "graph/stream/tagged_stream.h"

namespace {

TSupplierFactory& Factory()
{
    static TSupplierFactory factory;
    return factory;
}

}  // namespace

void SetSupplierFactory(TSupplierFactory factory)
{
    Factory() = std::move(factory);
}

std::unique_ptr<TDataSupplier> OpenSupplier(const TSourceSettings& settings)
{
    if (!Factory())
        return nullptr;
    return Factory()(settings);
}

int32_t ColumnNumberOf(const std::string& setting)
{
    constexpr std::string_view kPrefix = "(col ";
    if (setting.size() < kPrefix.size())
        return -1;
    for (std::size_t i = 0; i < kPrefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(setting[i])) != kPrefix[i])
            return -1;
    // Between the prefix and the closing bracket; the last character is taken as
    // that bracket whatever it is.
    const std::size_t end = setting.size() > kPrefix.size() ? setting.size() - 1 : kPrefix.size();
    return IntegerOfText(std::string_view(setting).substr(kPrefix.size(), end - kPrefix.size()));
}
