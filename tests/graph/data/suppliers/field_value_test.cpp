#include <gtest/gtest.h>

#include <QDateTime>
#include <QVariant>

#include "graph/data/suppliers/field_value.h"

namespace {

TEST(FieldValueTest, DatesAndTimesBecomeDayCounts)
{
    double value = 0;
    ASSERT_TRUE(FieldAsNumber(QDate(1900, 1, 1), value));
    EXPECT_DOUBLE_EQ(value, 2);
    ASSERT_TRUE(FieldAsNumber(QDateTime(QDate(1900, 1, 1), QTime(18, 0)), value));
    EXPECT_DOUBLE_EQ(value, 2.75);
    ASSERT_TRUE(FieldAsNumber(QDateTime(QDate(1899, 12, 29), QTime(6, 0)), value));
    EXPECT_DOUBLE_EQ(value, -1.25);
    ASSERT_TRUE(FieldAsNumber(QTime(12, 0), value));
    EXPECT_DOUBLE_EQ(value, 0.5);
    EXPECT_FALSE(FieldAsNumber(QDate(10000, 1, 1), value));
}

TEST(FieldValueTest, OnlyFiniteNumbersAndNumberTextsConvert)
{
    double value = 0;
    ASSERT_TRUE(FieldAsNumber(QStringLiteral(" -2.5e1"), value));
    EXPECT_DOUBLE_EQ(value, -25);
    ASSERT_TRUE(FieldAsNumber(qlonglong{7}, value));
    EXPECT_DOUBLE_EQ(value, 7);
    for (const QVariant& field : {QVariant(), QVariant(QMetaType(QMetaType::Double)), QVariant(QString()),
                                  QVariant(QStringLiteral("abc")), QVariant(QStringLiteral("nan")),
                                  QVariant(QStringLiteral("inf"))})
        EXPECT_FALSE(FieldAsNumber(field, value)) << field.toString().toStdString();
}

}  // namespace
