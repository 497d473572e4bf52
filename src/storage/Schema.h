#pragma once

#include "core/modGlobal.h"

#include <QString>
#include <QStringList>

// The tables of a data file: how each is created and which indexes it gets.
namespace Schema {

QString TableName(modGlobal::TableIndex t);
// The columns after the key column ("ID", for KeyGen "TableName"), in the
// order of the CREATE TABLE, each with its type name ("TEXT(40)", "YESNO").
struct Column {
    QString name;
    QString type;
};
QList<Column> Columns(modGlobal::TableIndex t);
// "CREATE TABLE Funds ([ID] INTEGER NOT NULL PRIMARY KEY, FundName TEXT(30) NULL, ...)".
// The Church table is created without AssignEnv; it is added by ALTER TABLE.
QString CreateTableSql(modGlobal::TableIndex t);
QString ChurchUpgradeSql();
// Indexes on the reference columns; they change no result, only speed.
QStringList IndexSql(modGlobal::TableIndex t);

// Creates the table when it does not exist, with its indexes (and the
// Church upgrade). Does not touch the table-ready flag or default rows.
void CreateTable(modGlobal::TableIndex t);
// CreateTable once per run, for a table without default rows.
void MakeReady(modGlobal::TableIndex t);

} // namespace Schema
