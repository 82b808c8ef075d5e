#include "article/forumpost.h"

namespace vinkring {

QList<ForumLine> parseForumPost(const QString& forumText)
{
    return readForumText(forumText).lines;
}

qsizetype countCharacters(QStringView forumText)
{
    qsizetype count = forumText.size();
    for (qsizetype i = 1; i < forumText.size(); ++i) {
        if (forumText[i].isLowSurrogate() && forumText[i - 1].isHighSurrogate())
            --count;
    }
    return count;
}

qsizetype countWords(const QList<ForumLine>& lines)
{
    qsizetype words = 0;
    bool inChunk = false;
    bool hasLetter = false;
    const auto endChunk = [&] {
        if (inChunk && hasLetter)
            ++words;
        inChunk = hasLetter = false;
    };
    for (const ForumLine& line : lines) {
        for (const ForumRun& run : line.runs) {
            for (const QChar c : run.text) {
                if (c.isSpace()) {
                    endChunk();
                    continue;
                }
                inChunk = true;
                hasLetter = hasLetter || c.isLetterOrNumber();
            }
        }
        endChunk();
    }
    return words;
}

}  // namespace vinkring
