#include "graph/data/suppliers/data_source.h"

TDataSource::TDataSource(QObject* owner)
    : QObject(owner)
{
}

QSqlQuery* TDataSource::DataSet() const
{
    return FDataSet;
}

void TDataSource::SetDataSet(QSqlQuery* dataSet)
{
    FDataSet = dataSet;
}
