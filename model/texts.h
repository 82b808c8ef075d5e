#pragma once
// Every fixed text of the program and every Dutch message, declared once.
// Messages hold %1, %2 ... for QString::arg.

#include <array>
#include <string_view>

#include <QString>

namespace vinkring {

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A path as messages show it: in double quotes, with the system's separators.
QString quotedPath(const QString& path);

// A count as messages show it: "12.345".
QString dutchNumber(qint64 number);

namespace texts {
inline constexpr std::string_view kWindowCaption = "Vinkring Artikel Template";
inline constexpr std::string_view kMessageTitle = "Vinkring Artikel Template Melding";
// The window's title: the document file's name and the caption; "[*]" is
// where the mark of unsaved work shows.
inline constexpr std::string_view kTitleOfFile = "%1[*] - %2";
inline constexpr std::string_view kTitleNeverSaved = "[*]%1";
inline constexpr std::string_view kCounterPrefix = "Formulier ";
inline constexpr std::string_view kCounterMiddle = " van ";

inline constexpr std::string_view kPrevious = "<";
inline constexpr std::string_view kNext = ">";
inline constexpr std::string_view kLast = ">|";
inline constexpr std::string_view kClipboard = "Klembord";
inline constexpr std::string_view kPreview = "Preview in IE";
inline constexpr std::string_view kSpelling = "Spellingscontrole";
inline constexpr std::string_view kAddLink = "Voeg toe";
inline constexpr std::string_view kRemoveLink = "Verwijder";
inline constexpr std::string_view kChangeLink = "Wijzig";
inline constexpr std::string_view kUrlLabel = "URL:";
inline constexpr std::string_view kDescriptionLabel = "Beschrijving:";
inline constexpr std::string_view kLinkListName = "Links";

// What assistive technology says of the navigation buttons "<", ">" and ">|".
inline constexpr std::string_view kPreviousName = "Vorige pagina";
inline constexpr std::string_view kNextName = "Volgende pagina";
inline constexpr std::string_view kLastName = "Laatste pagina";
inline constexpr std::string_view kPreviousDescription = "Gaat een pagina terug (Alt+pijl links of Ctrl+Page Up).";
inline constexpr std::string_view kNextDescription = "Gaat een pagina verder (Alt+pijl rechts of Ctrl+Page Down).";
inline constexpr std::string_view kLastDescription =
    "Gaat naar de laatste pagina, met de knoppen voor het klembord, de preview en de spellingscontrole.";

inline constexpr std::string_view kMenuFile = "&Bestand";
inline constexpr std::string_view kMenuNew = "&Nieuw";
inline constexpr std::string_view kMenuOpen = "&Openen";
inline constexpr std::string_view kMenuSave = "Be&waren";
// The documents opened or saved last: "1 guppy.vkv (~/Documenten)".
inline constexpr std::string_view kMenuRecent = "&Recente bestanden";
inline constexpr std::string_view kRecentItem = "&%1 %2 (%3)";
inline constexpr std::string_view kRecentNone = "(geen)";
// The menu of what the writer sees while writing (as "Beeld" in Dutch
// editors; "D" as "B" is taken by "Bestand").
inline constexpr std::string_view kMenuView = "Beel&d";
inline constexpr std::string_view kMenuSpellingAsYouType = "&Spelling tijdens typen";
inline constexpr std::string_view kMenuArticleView = "&Voorbeeld van het artikel";
// One section field over the whole window, for writing a long section.
inline constexpr std::string_view kMenuWritingMode = "Schrijf&modus";
inline constexpr std::string_view kWritingModeWords = "%1 woorden";

// The live view of the forum post.
inline constexpr std::string_view kArticleViewTitle = "Voorbeeld van het artikel";
inline constexpr std::string_view kArticleSize = "%1 woorden, %2 tekens";
// The part of a forum post's limit the article uses, after its size.
inline constexpr std::string_view kPostLimitUsed = "%1 (%2% van de limiet van %3)";
inline constexpr std::string_view kPostLimit = "&Limiet van een bericht:";
inline constexpr std::string_view kNoPostLimit = "geen";
inline constexpr std::string_view kPostLimitUnit = " tekens";

// The context menu of a doubtful word.
inline constexpr std::string_view kSearchingSuggestions = "Suggesties zoeken…";

// The menu "Opmaak": the forum's tags put around the selection.
inline constexpr std::string_view kMenuFormat = "&Opmaak";
inline constexpr std::string_view kFormatBold = "&Vet";
inline constexpr std::string_view kFormatItalic = "&Cursief";
inline constexpr std::string_view kFormatUnderline = "&Onderstreept";
inline constexpr std::string_view kFormatStrikeOut = "&Doorgestreept";
inline constexpr std::string_view kFormatLink = "&Link…";
// The dialog of Ctrl+K.
inline constexpr std::string_view kLinkTitle = "Link";
inline constexpr std::string_view kLinkAddress = "&Adres van de link:";
inline constexpr std::string_view kLinkText = "Tekst van de link: %1";
inline constexpr std::string_view kLinkNoText = "Zonder tekst: de link toont het adres.";
inline constexpr std::string_view kLinkAddressRefused = "Een adres kan geen [ of ] bevatten.";

// Finding in the whole article: the menu "Zoeken" and the bar along the
// window's bottom.
inline constexpr std::string_view kMenuSearch = "&Zoeken";
inline constexpr std::string_view kFind = "&Zoeken…";
inline constexpr std::string_view kFindReplace = "Zoeken en &vervangen…";
inline constexpr std::string_view kFindNext = "V&olgende zoeken";
inline constexpr std::string_view kFindPrevious = "Vo&rige zoeken";
inline constexpr std::string_view kSearchLabel = "Zoe&ken:";
inline constexpr std::string_view kReplaceLabel = "Ve&rvangen door:";
inline constexpr std::string_view kMatchCase = "&Hoofdletters";
inline constexpr std::string_view kMatchCaseTip = "Alleen met dezelfde hoofdletters en kleine letters";
inline constexpr std::string_view kWholeWords = "Hele &woorden";
inline constexpr std::string_view kReplace = "&Vervangen";
inline constexpr std::string_view kReplaceAll = "&Alles vervangen";
inline constexpr std::string_view kPreviousHit = "Vorige";
inline constexpr std::string_view kNextHit = "Volgende";
inline constexpr std::string_view kCloseSearch = "Sluiten (Escape)";
inline constexpr std::string_view kClearSearch = "Zoektekst wissen";
// What the search bar's fields show for a line end.
inline constexpr std::string_view kLineEndMark = "↵";
inline constexpr std::string_view kHits = "%1 treffers";
inline constexpr std::string_view kOneHit = "1 treffer";
inline constexpr std::string_view kNoHits = "Niet gevonden";
inline constexpr std::string_view kWrappedToStart = "Verder vanaf het begin";
inline constexpr std::string_view kWrappedToEnd = "Verder vanaf het einde";
inline constexpr std::string_view kCountAndNotice = "%1. %2";
inline constexpr std::string_view kReplacedIn = "%1 keer vervangen in %2";
inline constexpr std::string_view kFields = "%1 velden";
inline constexpr std::string_view kOneField = "1 veld";
inline constexpr std::string_view kAndLinks = "%1 en %2 links";
inline constexpr std::string_view kAndOneLink = "%1 en 1 link";
inline constexpr std::string_view kOnlyLinks = "%1 links";
inline constexpr std::string_view kOnlyOneLink = "1 link";

inline constexpr std::string_view kProgIdBrowser = "internetexplorer.application";
inline constexpr std::string_view kProgIdSpreadsheet = "excel.application";

inline constexpr std::string_view kOpenTitle = "Bestand Openen";
inline constexpr std::string_view kSaveTitle = "Bestand Bewaren";
inline constexpr std::string_view kFilterDescription = "Vinkring Vis (*.vvk)";
inline constexpr std::string_view kFilterPattern = "*.VKV";
inline constexpr std::string_view kPreviewFileName = "PREVIEW.htm";

inline constexpr std::string_view kYes = "&Ja";
inline constexpr std::string_view kKeepAll = "Alle tekens &houden (UTF-8)";
inline constexpr std::string_view kNo = "&Nee";
inline constexpr std::string_view kCancel = "&Annuleren";

// The spelling dialog.
inline constexpr std::string_view kSpellingTitle = "Spelling: Nederlands";
inline constexpr std::string_view kNotInDictionary = "Niet in woordenlijst:";
inline constexpr std::string_view kChangeTo = "Wijzigen in:";
inline constexpr std::string_view kSuggestions = "Suggesties:";
inline constexpr std::string_view kNoSuggestions = "(Geen suggesties)";
inline constexpr std::string_view kIgnore = "Negeren";
inline constexpr std::string_view kIgnoreAll = "Alles negeren";
inline constexpr std::string_view kChange = "Wijzigen";
inline constexpr std::string_view kChangeAll = "Alles wijzigen";
inline constexpr std::string_view kAddToDictionary = "Toevoegen aan woordenboek";
inline constexpr std::string_view kStop = "Stoppen";
inline constexpr std::string_view kSection = "Onderdeel: %1";

// The article out to other places, and back in from its forum text.
inline constexpr std::string_view kMenuExport = "&Exporteren...";
inline constexpr std::string_view kMenuImport = "&Importeren uit forumtekst...";
inline constexpr std::string_view kExportTitle = "Artikel Exporteren";
inline constexpr std::string_view kImportTitle = "Forumtekst Importeren";
inline constexpr std::string_view kImportQuestion = "Waar staat de forumtekst van het artikel?";
inline constexpr std::string_view kImportFromFile = "&Uit een bestand...";
inline constexpr std::string_view kImportFromClipboard = "Van het &klembord";
inline constexpr std::string_view kImportFilterDescription = "Forumtekst (*.txt)";
inline constexpr std::string_view kImportFilterPattern = "*.txt";
inline constexpr std::string_view kAllFilesDescription = "Alle bestanden (*)";
inline constexpr std::string_view kAllFilesPattern = "*";
// The export's types, as its dialog lists them.
inline constexpr std::string_view kExportOpenDocument = "OpenDocument-tekst (*.odt)";
inline constexpr std::string_view kExportPdf = "PDF (*.pdf)";
inline constexpr std::string_view kExportWebPage = "Webpagina (*.html *.htm)";
inline constexpr std::string_view kExportBracketCodes = "Forumtekst met alleen codes (*.txt)";
inline constexpr std::string_view kExportMarkdown = "Markdown (*.md)";
// The name an export suggests when the document has no file and no title.
inline constexpr std::string_view kExportDefaultName = "artikel";

// "Artikel controleren": what the forum will show otherwise than the writer
// may think, each finding with its place as the writer knows it.
inline constexpr std::string_view kMenuCheck = "Artikel &controleren";
inline constexpr std::string_view kCheckTitle = "Artikel controleren";
inline constexpr std::string_view kCheckListName = "Meldingen over het artikel";
// An item of the list: the place, then what is wrong and what to do.
inline constexpr std::string_view kCheckItem = "%1: %2";
inline constexpr std::string_view kCheckNone = "Geen meldingen: het forum toont het artikel zoals u het schreef.";
inline constexpr std::string_view kCheckCount = "%1 meldingen. Enter of dubbelklik: naar de plaats.";
inline constexpr std::string_view kCheckOne = "1 melding. Enter of dubbelklik: naar de plaats.";
inline constexpr std::string_view kCheckBusy = "Het artikel wordt gecontroleerd…";
// After the most the list shows at once.
inline constexpr std::string_view kCheckMore = "… en nog %1 meldingen. Verbeter eerst deze; de lijst volgt.";
// Places: a section by its heading, the title and author by their labels.
inline constexpr std::string_view kCheckLine = "%1, regel %2";
inline constexpr std::string_view kCheckWholePost = "Het hele bericht";
inline constexpr std::string_view kCheckSpelling = "Spelling";
// How the forum shows the text after a tag of each style (by the style's
// bit, from bold to superscript): "is alles erna vet".
inline constexpr std::array<std::string_view, 6> kStyleWords{"vet",           "cursief",  "onderstreept",
                                                             "doorgestreept", "verlaagd", "verhoogd"};
inline constexpr std::string_view kCheckTagNotClosed =
    "%1 wordt in dit onderdeel niet gesloten: op het forum is alles erna %2, tot het einde van het bericht. "
    "Zet %3 waar het %2 moet ophouden.";
inline constexpr std::string_view kCheckTagNotOpened =
    "%1 sluit niets: er staat hier geen %2 open, en het forum laat %1 weg. Haal het weg, of zet %2 waar het %3 "
    "moet beginnen.";
inline constexpr std::string_view kCheckTagsCrossed =
    "%1 sluit een tag terwijl een tag die erna werd geopend nog open staat (gekruist, zoals <b><i>…</b></i>). "
    "Sluit eerst de laatst geopende: <b><i>…</i></b>.";
inline constexpr std::string_view kCheckLinkNotClosed =
    "%1 wordt nergens gesloten: het forum toont de code als tekst, zonder link. Zet [/URL] achter de tekst van de "
    "link (en bij [URL= een ] achter het adres).";
// A code or tag closed only in a later section, as the forum reads the post.
inline constexpr std::string_view kCheckLinkRunsOn =
    "%1 wordt in dit onderdeel niet gesloten: het forum maakt een link van alles tot de [/URL] in %2, de koppen "
    "ertussen inbegrepen, en toont de codes daartussen als tekst. Zet [/URL] achter de tekst van de link.";
inline constexpr std::string_view kCheckTagRunsOn =
    "%1 wordt in dit onderdeel niet gesloten: op het forum is alles erna %2, ook de volgende onderdelen, tot een "
    "%3 verderop. Zet %3 waar het %2 moet ophouden.";
inline constexpr std::string_view kCheckLinkCloseNothing =
    "%1 sluit niets: er staat hier geen link open, en het forum toont %1 als tekst. Haal het weg, of zet "
    "[URL=adres] waar de link moet beginnen.";
inline constexpr std::string_view kCheckLinkInLink =
    "%1 staat in de tekst van een link die nog open is: het forum maakt geen link in een link en toont de code als "
    "tekst. Sluit de eerste link eerder met [/URL].";
inline constexpr std::string_view kCheckLinkNotOpenable =
    "%1: dit adres opent geen browser (een spatie of onzichtbaar teken erin, geen naam van een website, of een "
    "ander soort adres dan http, https, ftp of mailto). Het forum toont alleen de tekst, zonder link. Verbeter het "
    "adres.";
inline constexpr std::string_view kCheckNotForumMarkup =
    "Het forum kent %1 niet en toont het als tekst, zoals het er staat. Het forum toont alleen %2 als opmaak, en "
    "links als [URL=adres]tekst[/URL].";
inline constexpr std::string_view kCheckEmptySection =
    "Dit onderdeel is leeg: het bericht toont alleen de kop. Schrijf er iets in, of laat het zo als er niets over "
    "te zeggen is.";
inline constexpr std::string_view kCheckEmptyTitle =
    "Het artikel heeft geen titel: het bericht begint met een lege regel. Vul de titel in.";
inline constexpr std::string_view kCheckEmptyAuthor =
    "Er staat geen auteur: het bericht toont \"%1\" zonder naam. Vul de naam in.";
inline constexpr std::string_view kCheckLinkWithoutDescription =
    "Deze link heeft geen beschrijving: het forum toont het adres als tekst van de link. Vul \"%1\" in en kies "
    "\"%2\".";
inline constexpr std::string_view kCheckLinkWithoutScheme =
    "Het adres %1 begint niet met http:// of https://: het forum maakt er een link van naar een pagina van het "
    "forum zelf, die niet bestaat. Zet http:// of https:// ervoor (mailto: voor een e-mailadres).";
inline constexpr std::string_view kCheckLinkWithBlank =
    "Het adres %1 bevat %2: het forum maakt er geen link van. Haal die weg, of schrijf een spatie als %20.";
inline constexpr std::string_view kCheckLinkWithBracket =
    "Het adres %1 bevat een %2: daar houdt de code van de link op, en het forum linkt naar wat ervoor staat. "
    "Schrijf [ als %5B en ] als %5D.";
inline constexpr std::string_view kCheckSpace = "een spatie";
inline constexpr std::string_view kCheckTab = "een tab";
// How a tab shows in a quoted code, where it would look like a wide blank.
inline constexpr std::string_view kCheckTabShown = "→";
inline constexpr std::string_view kCheckLinkWithoutAddress =
    "Deze link heeft geen adres: het forum toont alleen de beschrijving, zonder link. Vul \"%1\" in en kies "
    "\"%2\".";
inline constexpr std::string_view kCheckPostTooLong =
    "Het bericht telt %1 tekens: %2% van de limiet van %3 tekens (\"%4\" in het voorbeeld van het artikel). Het "
    "forum neemt het zo niet aan: maak het korter of verdeel het over twee berichten.";
inline constexpr std::string_view kCheckUnknownWords =
    "%1 woorden staan niet in het woordenboek (rood onderstreept). Kies deze melding voor de %2.";
inline constexpr std::string_view kCheckOneUnknownWord =
    "1 woord staat niet in het woordenboek (rood onderstreept). Kies deze melding voor de %1.";
// After the note of "Klembord" and of an export, while the markup has findings.
inline constexpr std::string_view kCheckWarning = "Let op: %1 — Beeld > Artikel controleren";
inline constexpr std::string_view kCheckWarningOpenTag = "1 open tag";
inline constexpr std::string_view kCheckWarningOpenTags = "%1 open tags";
inline constexpr std::string_view kCheckWarningStrayTag = "1 losse sluittag";
inline constexpr std::string_view kCheckWarningStrayTags = "%1 losse sluittags";
inline constexpr std::string_view kCheckWarningCrossed = "1 kruising van tags";
inline constexpr std::string_view kCheckWarningCrossedMany = "%1 kruisingen van tags";
inline constexpr std::string_view kCheckWarningOpenLink = "1 link zonder [/URL]";
inline constexpr std::string_view kCheckWarningOpenLinks = "%1 links zonder [/URL]";
inline constexpr std::string_view kCheckWarningDeadLink = "1 dode link";
inline constexpr std::string_view kCheckWarningDeadLinks = "%1 dode links";
inline constexpr std::string_view kCheckWarningUnknown = "1 onbekende code";
inline constexpr std::string_view kCheckWarningUnknownMany = "%1 onbekende codes";
// More than two kinds at once, in all; the note has one line.
inline constexpr std::string_view kCheckWarningMany = "%1 fouten in tags en codes";

// The recovery copy.
inline constexpr std::string_view kRecoveryTimeFormat = "dddd d MMMM yyyy 'om' HH:mm:ss";
}  // namespace texts

namespace messages {
inline constexpr std::string_view kNoUrl = "U heeft geen URL opgegeven. Dus u kunt niets toevoegen.";
inline constexpr std::string_view kTooManyLinks =
    "De lijst kan niet meer dan %1 links bevatten. Er is niets toegevoegd.";
inline constexpr std::string_view kPreviewNeedsBrowser = "De preview vereist Internet Explorer.";
inline constexpr std::string_view kSaveQuestion = "Wilt u uw wijzigingen bewaren?";
inline constexpr std::string_view kClipboardFailed = "Het artikel kon niet op het klembord worden geplaatst.";
inline constexpr std::string_view kPreviewNotWritten = "De preview kon niet worden geschreven.";
inline constexpr std::string_view kSpellingComplete = "De spellingscontrole is voltooid.";
inline constexpr std::string_view kOnClipboard = "Het artikel staat op het klembord: %1 tekens.";
inline constexpr std::string_view kSaved = "Bewaard in %1.";

// Reading a document file; each is followed by kNothingChanged.
inline constexpr std::string_view kNothingChanged = " Er is niets gewijzigd.";
inline constexpr std::string_view kFileMissing = "Het bestand %1 bestaat niet.";
inline constexpr std::string_view kRecentGone =
    "Het bestand %1 bestaat niet meer. Het is van de lijst met recente bestanden gehaald.";
inline constexpr std::string_view kFileEmpty = "Het bestand %1 is leeg.";
inline constexpr std::string_view kFileIsFolder = "Het bestand %1 kan niet worden gelezen: het is een map.";
inline constexpr std::string_view kFileNotRegular =
    "Het bestand %1 kan niet worden gelezen: het is geen gewoon bestand.";
inline constexpr std::string_view kFileTooLarge =
    "Het bestand %1 kan niet worden gelezen: het is te groot voor een artikel (%2 MB).";
inline constexpr std::string_view kFileUnreadable = "Het bestand %1 kan niet worden gelezen: %2.";
inline constexpr std::string_view kNotADocument =
    "Het bestand %1 is geen Vinkring-artikel: het bevat %2 van de %3 veldmarkeringen \"%4\".";
inline constexpr std::string_view kFileTooManyLinks =
    "Het bestand %1 bevat %2 links; de lijst kan niet meer dan %3 links bevatten.";
// Read, but not whole.
inline constexpr std::string_view kExtraFieldMarkers =
    "Het bestand %1 bevat meer dan %2 veldmarkeringen \"%3\": het heeft meer teksten dan de %2 velden en de "
    "links van een artikel. De teksten na het %2e veld en de links konden nergens worden geplaatst en zijn "
    "weggelaten.\n\nHet venster toont wat er is gelezen. Bewaart u het artikel in dit bestand, dan ontbreken die "
    "teksten daarin.";

// Writing a document file.
inline constexpr std::string_view kFileNotSaved = "Het bestand %1 kon niet worden bewaard: %2.";
inline constexpr std::string_view kOldFileKept = " Het bestaande bestand is niet gewijzigd.";
inline constexpr std::string_view kMarkersRefused =
    "Het bestand %1 is niet bewaard: deze teksten bevatten \"%2\" of \"%3\" en zouden niet terugkomen zoals ze "
    "zijn geschreven:\n%4";
inline constexpr std::string_view kUnencodableRefused =
    "Het bestand %1 is niet bewaard: deze teksten bevatten tekens die het bestand niet kan bevatten:\n%2";
inline constexpr std::string_view kMarkersInDocument =
    "Het document is niet bewaard in %1.\n\nDeze teksten bevatten een scheidingsteken van het bestand (\"%2\" in "
    "een veld, \"%3\" of \"%2\" in een link) en zouden bij het openen niet terugkomen zoals ze nu zijn:\n\n%4\n\n"
    "Haal die tekst weg en bewaar opnieuw.";
inline constexpr std::string_view kMarkerAt = "- %1 bevat \"%2\"";
inline constexpr std::string_view kUnencodableQuestion =
    "Deze teksten bevatten tekens die niet in het bestand %1 kunnen worden bewaard:\n\n%2\n\nWilt u het bestand "
    "bewaren met deze tekens vervangen door \"?\"? Kiest u Nee, dan wordt er niets bewaard.\n\nMet \"Alle tekens "
    "houden\" wordt het bestand in UTF-8 bewaard: elk teken blijft zoals het is, maar oudere programma's die "
    "alleen Windows-1252 kennen, tonen die tekens verkeerd.";
// A name without extension got the document file's: the file by that name.
inline constexpr std::string_view kFileExists = "Het bestand %1 bestaat al. Wilt u het vervangen?";
inline constexpr std::string_view kChangedOnDisk =
    "Het bestand is intussen door een ander programma gewijzigd. Toch overschrijven?";
inline constexpr std::string_view kAndMore = "- en nog %1 andere";
inline constexpr std::string_view kLinkPlace = "link %1 (\"%2\")";

// Why a file operation failed.
inline constexpr std::string_view kReadError = "er trad een leesfout op";
inline constexpr std::string_view kWriteError = "er kon niet naar de schijf worden geschreven";
inline constexpr std::string_view kDiskFull = "de schijf is vol";
inline constexpr std::string_view kOpenError = "het kon niet worden geopend of aangemaakt";
inline constexpr std::string_view kNoAccess = "u heeft er geen toegang toe";
inline constexpr std::string_view kRenameError = "het nieuwe bestand kon niet op de plaats van het oude worden gezet";
inline constexpr std::string_view kShortWrite = "er kon niet alles worden geschreven";
inline constexpr std::string_view kOtherError = "er ging iets mis";
inline constexpr std::string_view kReadOnlyFileSystem = "het bestandssysteem is alleen-lezen";
inline constexpr std::string_view kNoSuchFolder = "de map bestaat niet";
inline constexpr std::string_view kNotAFolder = "een deel van het pad is geen map";
inline constexpr std::string_view kIsAFolder = "het is een map";
inline constexpr std::string_view kNameTooLong = "de naam is te lang";
inline constexpr std::string_view kTooManyOpen = "er zijn te veel bestanden tegelijk open";
inline constexpr std::string_view kInUse = "het bestand is in gebruik";
inline constexpr std::string_view kFileTooBig = "het bestand is te groot voor de schijf";

// The recovery copy of unsaved work.
inline constexpr std::string_view kRecoveryOffer =
    "Het programma is de vorige keer niet normaal afgesloten. Er is werk teruggevonden dat nog niet was "
    "bewaard:\n\n%1\n%2\n\nWilt u dit werk herstellen?\n\nJa: het werk komt terug in het venster.\nNee: het "
    "werk wordt weggegooid.\nAnnuleren: er verandert niets; het werk wordt bij de volgende start opnieuw "
    "aangeboden.";
inline constexpr std::string_view kRecoveryTime = "Laatst gewijzigd: %1";
inline constexpr std::string_view kRecoveryTimeUnknown = "onbekend";
inline constexpr std::string_view kRecoveryFile = "Bestand: %1";
inline constexpr std::string_view kRecoveryNeverSaved = "Bestand: geen, dit werk is nog nooit bewaard";
inline constexpr std::string_view kRecoveryFileChanged =
    "Let op: het bestand is gewijzigd nadat deze kopie werd gemaakt.";
inline constexpr std::string_view kRecoveryUnreadable =
    "Er is een herstelkopie van niet bewaard werk gevonden die niet kan worden gelezen. Ze is bewaard als %1.";
inline constexpr std::string_view kRecoveryUnreadableMany =
    "Er zijn %1 herstelkopieën van niet bewaard werk gevonden die niet kunnen worden gelezen. Ze zijn bewaard "
    "in de map %2 als:\n\n%3";
// While the copy cannot be written: after the window's caption, short enough
// for the title bar of the fixed-width window; the reason is in the window's tooltip.
inline constexpr std::string_view kRecoveryFailedTitle = "%1 - let op: werk niet veiliggesteld";
inline constexpr std::string_view kRecoveryFailed =
    "Uw werk kan niet tussentijds worden veiliggesteld: %1.\nHet programma probeert het bij de volgende "
    "wijziging opnieuw.";

// Exporting and importing the article.
inline constexpr std::string_view kExportNotWritten = "Het artikel kon niet worden geëxporteerd naar %1: %2.";
inline constexpr std::string_view kExportNotMade = "het bestand kon niet worden opgebouwd (%1)";
inline constexpr std::string_view kImportEmpty = "Er staat geen tekst op het klembord. Er is niets gewijzigd.";
// %1 and %2: the tags around the title, and the start and end of the author line.
inline constexpr std::string_view kImportExpectedTitle = "de titelregel (%1titel%2)";
inline constexpr std::string_view kImportExpectedAuthor = "de regel \"%1...%2\"";
inline constexpr std::string_view kImportExpectedHeading = "de kop \"%1\"";
inline constexpr std::string_view kImportTooManyLinks =
    "De forumtekst bevat %1 links; de lijst kan niet meer dan %2 links bevatten. Er is niets gewijzigd.";
inline constexpr std::string_view kImportMissingHeadings =
    "Het artikel is ingelezen, maar deze koppen ontbraken in de tekst:\n%1\n\nTekst onder een ontbrekende kop "
    "staat nu bij het onderdeel erboven, en het eerste onderdeel van een hoofdstuk heeft de tekst direct onder de "
    "kop van het hoofdstuk gekregen. Kijk die onderdelen na.";

// The command line.
inline constexpr std::string_view kUsage = "vinkring-artikel: %1\nGebruik: vinkring-artikel [DOCUMENT.VKV]\n";
inline constexpr std::string_view kUnknownOption = "onbekende optie: %1%2";
inline constexpr std::string_view kOneDocumentOnly = "niet meer dan één document tegelijk";
inline constexpr std::string_view kHelp =
    "Gebruik: vinkring-artikel [OPTIE...] [DOCUMENT.VKV]\n"
    "Schrijf stap voor stap een artikel over een vissoort voor het forum Vinkring.\n"
    "DOCUMENT.VKV wordt bij de start geopend, zoals Bestand > Openen dat doet.\n"
    "\n"
    "  -h, --help      deze hulp tonen\n"
    "  --version       de versie tonen\n"
    "\n"
    "Ook de opties van Qt werken, zoals -stylesheet BESTAND (bijvoorbeeld een groter\n"
    "lettertype met * { font-size: 16pt; }), -platform NAAM en -display SCHERM.\n";
inline constexpr std::string_view kVersion = "vinkring-artikel %1\n";

// Importing a forum text: why a line did not match what was expected there,
// and a file that holds no text at all.
inline constexpr std::string_view kImportRefusedBecause =
    "Deze tekst is geen Vinkring-artikel: op regel %1 werd %2 verwacht, maar %3. Er is niets gewijzigd.";
inline constexpr std::string_view kImportLineStartsWith = "de regel begint met \"%1\"";
inline constexpr std::string_view kImportOnlyEmptyLines = "de tekst bevat alleen lege regels";
inline constexpr std::string_view kImportNoAuthorLine = "tussen de titel en de kop \"%1\" begint geen regel met \"%2\"";
inline constexpr std::string_view kImportTitleNotClosed = "de titel erboven eindigt niet met \"%1\"";
inline constexpr std::string_view kImportLineNotClosed = "de regel eindigt niet met \"%1\"";
inline constexpr std::string_view kImportOtherHeading = "daar staat de kop \"%1\"";
inline constexpr std::string_view kImportTextEnds = "de tekst houdt daar op";
inline constexpr std::string_view kImportNoText =
    "Het bestand %1 bevat geen tekst maar gegevens van een andere soort (een afbeelding, een programma of een "
    "archief). Alleen de forumtekst van een artikel kan worden ingelezen. Er is niets gewijzigd.";

// A long export or import while it runs, and what one just did (the passing
// note). %1: the file's name.
inline constexpr std::string_view kExporting = "Het artikel wordt geëxporteerd naar %1...";
inline constexpr std::string_view kImportingFile = "De forumtekst wordt ingelezen uit %1...";
inline constexpr std::string_view kImportingClipboard = "De forumtekst van het klembord wordt ingelezen...";
inline constexpr std::string_view kExported = "Geëxporteerd naar %1.";
inline constexpr std::string_view kImportedFile = "Geïmporteerd uit %1.";
inline constexpr std::string_view kImportedClipboard = "Geïmporteerd van het klembord.";
}  // namespace messages

}  // namespace vinkring
