#pragma once

#include <memory>

#include "graph/data/data_supplier.h"

// The supplier of a series' source, on its first row: a text supplier for a text
// file (1) or a text holder found by its ID (5), a database supplier for a data
// source component (2), a table (3) or a query (4). Nothing when the source does
// not open or its kind is none of these.
std::unique_ptr<TDataSupplier> CreateSupplier(const TSourceSettings& settings);

// Lets every series fill itself through CreateSupplier; the program does this once
// at start.
void InstallDataSuppliers();
