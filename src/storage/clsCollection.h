#pragma once

#include "clsRecord.h"

#include <QDate>

// One collection set; its ID is the collection number the user sees.
class clsCollection : public clsRecord {
public:
    clsCollection();

    int ID() const { return m_ID; }
    void ID(int v) { Assign(m_ID, v); }
    QDate CollectionDate() const { return m_CollectionDate; }
    void CollectionDate(const QDate& v) { Assign(m_CollectionDate, v); }
    QString Notation() const { return m_Notation; }
    void Notation(const QString& v) { AssignText(m_Notation, v, 40); }

    bool OK_to_Delete(bool showMessages);
    void Save_to_DB();
    void Delete_Record_from_DB();
    void Get_One_Record(const QString& where = {});
    int Next_ID();

private:
    int m_ID = 0;
    QDate m_CollectionDate = modGlobal::ZeroDate();
    QString m_Notation;
};
