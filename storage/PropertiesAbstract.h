#pragma once
// The stream interface shared by everything that is stored in a document
// section: form objects, global texts, limits and the measured data.

#include <QIODevice>

class PropertiesAbstract
{
public:
    virtual ~PropertiesAbstract() = default;

    // Reads the object's record. False when the record could not be read
    // whole; the stream is then marked damaged (IsStreamDamaged) and the
    // object holds what was read before the damage.
    virtual bool Load(QIODevice& stream) = 0;
    virtual void Save(QIODevice& stream) const = 0;
    virtual void WriteXml(QIODevice& out) const = 0;

protected:
    PropertiesAbstract() = default;
    PropertiesAbstract(const PropertiesAbstract&) = default;
    PropertiesAbstract& operator=(const PropertiesAbstract&) = default;
};
