#pragma once
// The article's 27 fields, its 14 wizard pages and the window's fixed texts.
// Declared once; the window, the generator, the document format and the
// spelling check all read these tables.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vinkring {

// A rectangle in twips (1440 to the inch), as the window is designed.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

// 15 twips make one pixel at 96 dpi.
constexpr int twipsToPixels(int twips) { return (twips + 7) / 15; }

struct FieldInfo {
    std::string_view name;          // control name, e.g. "txtVindPLaats"
    int page;                       // Frame1 index
    std::string_view labelName;     // "Label5", empty when the field has no label
    std::string_view labelCaption;  // as designed, "&" marks the access key
    std::string_view defaultText;   // with CR LF line ends
    bool multiLine;                 // the 25 section fields
    Twips geometry;                 // the field on its page
    std::string_view chapterHeading;  // article chapter opened before this field, if any
    std::string_view sectionHeading;  // article section heading, empty for chapter 6
};

struct PageInfo {
    std::string_view caption;
    std::string_view guideLabelName;
    std::string_view guideText;
};

constexpr std::size_t kFieldCount = 27;
constexpr std::size_t kSectionCount = 25;
constexpr std::size_t kPageCount = 14;

// Field indexes into kFields of the two single-line fields.
constexpr std::size_t kTitleField = 0;
constexpr std::size_t kAuthorField = 1;
constexpr std::size_t kFirstSectionField = 2;

extern const std::array<FieldInfo, kFieldCount> kFields;
extern const std::array<PageInfo, kPageCount> kPages;

// The article chapter that follows the last section: the links.
inline constexpr std::string_view kLinksChapterHeading = "<b>7. Links</b> ";

// Index of the field with this control name, or nullopt.
std::optional<std::size_t> fieldIndex(std::string_view name);

// The caption as shown: the access-key marker "&" removed ("&&" shows one "&").
std::string stripAccessKey(std::string_view caption);

// The field as the writer sees it named: its label as shown, or its page's
// caption when it has no label.
std::string fieldCaption(const FieldInfo& field);

// The name the writer knows a field's section by: its caption without the
// colon at its end.
std::string sectionName(const FieldInfo& field);

// The heading of a section field's part of the article, without its tags:
// "2.4 Vindplaats", "6. Conclusie"; empty for the title and the author.
std::string sectionTitle(const FieldInfo& field);

}  // namespace vinkring
