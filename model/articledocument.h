#pragma once
// The article being written: the 27 field texts in field-table order and the
// lines of the links list. Line ends inside texts are CR LF.

#include <array>

#include <QString>
#include <QStringList>

#include "model/fieldtable.h"

namespace vinkring {

struct ArticleDocument {
    std::array<QString, kFieldCount> fields;
    QStringList links;

    const QString& field(std::string_view name) const { return fields.at(fieldIndex(name).value()); }
    QString& field(std::string_view name) { return fields.at(fieldIndex(name).value()); }

    friend bool operator==(const ArticleDocument&, const ArticleDocument&) = default;
};

// A document as the window holds it when it opens: txtFamilie has its default.
ArticleDocument defaultDocument();

// The most lines the links list holds (16-bit signed positions).
constexpr int kMaxLinkLines = 32767;

}  // namespace vinkring
