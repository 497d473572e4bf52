#pragma once

#include "core/Helpers.h"

#include <QString>

// What every record class shares: the changed flag and the setter rules.
// The flag is set at construction, by any setter that receives a value
// different from the one held, and cleared by Get_One_Record.
class clsRecord {
public:
    bool Changed() const { return m_changed; }

protected:
    template <class T>
    void Assign(T& field, const T& value)
    {
        if (!(field == value)) {
            field = value;
            m_changed = true;
        }
    }
    // Text loses its control characters, is cut to the column's size
    // (never inside a character) and loses its trailing blanks.
    void AssignText(QString& field, const QString& value, int size, bool multiLine = false)
    {
        Assign(field, modGlobal::RTrimBlanks(modGlobal::CutText(modGlobal::CleanText(value, multiLine), size)));
    }

    bool m_changed = true;
};
