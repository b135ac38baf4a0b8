#pragma once

#include <QVariant>

// The number a database field holds: a number as it is, a text when it reads as a
// number (C notation, as SQL writes numbers), a date or time as a day count since
// 30 December 1899. False for NULL, for anything else, and for values that are not
// finite, which no series can plot.
bool FieldAsNumber(const QVariant& field, double& value);
