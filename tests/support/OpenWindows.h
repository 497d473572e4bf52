#pragma once

#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"

#include <QDate>

// The first open window of a kind, or null.
template <class W>
W* OpenWindowOf()
{
    for (frmChild* w : frmChild::OpenWindows())
        if (auto* found = qobject_cast<W*>(w))
            return found;
    return nullptr;
}

// Every window a test opened goes before the test's data set does.
inline void CloseAllWindows()
{
    for (frmChild* w : frmChild::OpenWindows())
        delete w;
}

// The offering window of a collection set, opened as the set dialog opens it.
inline frmCollections* OpenSet(int set, const QDate& date, const QString& notation = QString())
{
    return qobject_cast<frmCollections*>(Windows::Open_New(
        "frmCollections", {{"CollectionNumber", set}, {"CollectionDate", date}, {"CollectionNotation", notation}}));
}

// A contributor's offering record for one collection set, opened as the
// offering window opens it.
inline frmContReceipt* OpenReceipt(int contributor, int set, const QDate& date)
{
    return qobject_cast<frmContReceipt*>(Windows::Open_New(
        "frmContReceipt", {{"ContributorID", contributor}, {"CollectionNumber", set}, {"CollectionDate", date}}));
}
