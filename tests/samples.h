#pragma once
// Sample documents the tests share. A test that checks a text of its own
// sets that text on top of one of these.

#include <QString>

#include "model/articledocument.h"

namespace vinkring::test {

// A short article as a writer fills it in, on top of base (the empty document
// unless given): title, author, an introduction of two lines with markup, a
// conclusion, and two links, the second without a description.
inline ArticleDocument zebravis(ArticleDocument base = {})
{
    base.field("txtTitel") = QStringLiteral("Zebravis");
    base.field("txtAuteur") = QStringLiteral("René");
    base.field("txtInleiding") = QStringLiteral("Eerste regel.\r\nTweede & <b>derde</b>.");
    base.field("txtConclusie") = QStringLiteral("Een fijne vis.");
    base.links << QStringLiteral("Soortbeschrijving, zebravis.htm") << QStringLiteral(", kweek.htm");
    return base;
}

// A document of ASCII only: four fields, one of two lines, and two links.
inline ArticleDocument guppy()
{
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("Guppy");
    doc.field("txtAuteur") = QStringLiteral("Jan");
    doc.field("txtInleiding") = QStringLiteral("Regel een\r\nRegel twee");
    doc.field("txtConclusie") = QStringLiteral("Mooi.");
    doc.links << QStringLiteral("Kweekverslag, kweek.htm") << QStringLiteral("Foto, foto.jpg");
    return doc;
}

// A document with characters of the code page beyond ASCII (€, ‘ ’, –), a
// line end, blanks and a tab at the ends of a text, and one link.
inline ArticleDocument neonTetra()
{
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("Neon tetra");
    doc.field("txtAuteur") = QStringLiteral("Marieke & Joost");
    doc.field("txtInleiding") = QString::fromUtf8("Waarom?\r\nOmdat het kan – ‘zeker’ €5.");
    doc.field("txtOpkweek") = QStringLiteral("  zacht water  \t");
    doc.links << QStringLiteral("Foto, foto.jpg");
    return doc;
}

}  // namespace vinkring::test
