#pragma once

#include "clsRecord.h"

// A comment on one contributor's gifts in one collection set.
class clsColComments : public clsRecord {
public:
    clsColComments();

    int ID() const { return m_ID; }
    void ID(int v) { Assign(m_ID, v); }
    int ContributorID() const { return m_ContributorID; }
    void ContributorID(int v) { Assign(m_ContributorID, v); }
    int CollectionID() const { return m_CollectionID; }
    void CollectionID(int v) { Assign(m_CollectionID, v); }
    // Stored as given; the entry window keeps it within 200 characters.
    QString Comment() const { return m_Comment; }
    void Comment(const QString& v) { Assign(m_Comment, modGlobal::CleanText(v)); }

    void Delete_Record_from_DB();
    void Add_Record_to_DB();
    void Update_Record_to_DB();
    void Get_One_Record(const QString& where = {});

private:
    int m_ID = 0, m_ContributorID = 0, m_CollectionID = 0;
    QString m_Comment;
};
