#pragma once

#include <QObject>

class QSqlQuery;

// A component that names a dataset the program keeps open, so that a series can
// read it by the component's name. The dataset belongs to whoever opened it.
class TDataSource : public QObject {
    Q_OBJECT

public:
    explicit TDataSource(QObject* owner = nullptr);

    QSqlQuery* DataSet() const;
    void SetDataSet(QSqlQuery* dataSet);

private:
    QSqlQuery* FDataSet = nullptr;
};
