#include "model/fieldtable.h"

#include <string>

namespace vinkring {

namespace {
constexpr std::string_view kBackgroundGuide =
    "Het tweede 'hoofdstuk' betreft de achtergrond van de vis. Meerdere onderwerpen komen aanbod. "
    "Dit is verdeeld in een aantal stappen.";
constexpr std::string_view kBehaviourGuide =
    "Het derde 'hoofdstuk' betreft het gedrag van de vis. Meerdere onderwerpen komen aanbod. "
    "Dit is verdeeld in een aantal stappen.";

// Section fields on pages 2 to 10: 11295 wide at left 240, tops 1440, 2760
// and 3960; 975 high, but 855 and 1350 for the second and third field on
// pages 2 to 5, and the third field at 4080 on pages 7 and 10.
constexpr Twips kFirst{240, 1440, 11295, 975};
constexpr Twips kSecond{240, 2760, 11295, 975};
constexpr Twips kSecondTall{240, 2760, 11295, 855};
constexpr Twips kThirdTall{240, 3960, 11295, 1350};
constexpr Twips kThirdLow{240, 4080, 11295, 975};
}  // namespace

const std::array<FieldInfo, kFieldCount> kFields{{
    {"txtTitel", 0, "Label3", "&Titel van het artikel:", "", false, {2040, 1280, 6495, 315}, "", ""},
    {"txtAuteur", 0, "Label4", "&Naam van de auteur(s):", "", false, {2040, 1760, 6495, 315}, "", ""},
    {"txtInleiding", 1, "", "", "", true, {360, 1320, 11055, 3975}, "<b>1. Inleiding</b>",
     "<u>1.1 Aanleiding tot het schrijven van het artikel</u>"},
    {"txtUitlegNaam", 2, "Label5", "Uitleg van de wetenschappelijke naam:", "", true, kFirst,
     "<b>2. Achtergrond</b>", "<u>2.1 Uitleg van de wetenschappelijke naam</u>"},
    {"txtBeschrijver", 2, "Label7", "Beschrijver van de vis:", "", true, kSecondTall, "",
     "<u>2.2 Beschrijver van de vis</u>"},
    {"txtFamilie", 2, "Label8", "Familie, orde en klasse:", "Familie:\r\nOrde: \r\nKlasse:\r\n", true, kThirdTall,
     "", "<u>2.3 Familie, orde en klasse</u>"},
    {"txtVindPLaats", 3, "Label11", "Vindplaats:", "", true, kFirst, "", "<u>2.4 Vindplaats</u>"},
    {"txtWaterwaarden", 3, "Label10", "Waterwaarden:", "", true, kSecondTall, "", "<u>2.5 Waterwaarden</u>"},
    {"txtTemperatuur", 3, "Label9", "Temperatuur:", "", true, kThirdTall, "", "<u>2.6 Temperatuur</u>"},
    {"txtGrootte", 4, "Label14", "Grootte:", "", true, kFirst, "", "<u>2.7 Grootte</u>"},
    {"txtUitKenmerken", 4, "Label15", "Uiterlijke kenmerken:", "", true, kSecondTall, "",
     "<u>2.8 Uiterlijke kenmerken</u>"},
    {"txtGeslachtsonderscheid", 4, "Label16", "Geslachtsonderscheid:", "", true, kThirdTall, "",
     "<u>2.9 Geslachtsonderscheid</u>"},
    {"txtNauwVerwanten", 5, "Label19", "Nauw verwante soorten, varianten en kruisingen:", "", true, kFirst, "",
     "<u>2.10 Nauw verwante soorten, varianten en kruisingen</u>"},
    {"txtProblemen", 5, "Label18", "Problemen in leefomgeving:", "", true, kSecondTall, "",
     "<u>2.11 Problemen in leefomgeving</u>"},
    {"txtBouw", 5, "Label17", "Bouw van de vis:", "", true, kThirdTall, "", "<u>2.12 Bouw van de vis</u>"},
    {"txtZiekten", 6, "Label22", "Gevoeligheid voor bepaalde ziekten of stoffen:", "", true, kFirst, "",
     "<u>2.13 Gevoeligheid voor bepaalde ziekten of stoffen</u>"},
    {"txtAlgemeengedrag", 7, "Label23", "Algemeen gedrag:", "", true, kFirst, "<b>3. Gedrag</b> ",
     "<u>3.1 Algemeen gedrag</u>"},
    {"txtGedragSoort", 7, "Label25", "Gedrag in relatie tot soortgenoten:", "", true, kSecond, "",
     "<u>3.2 Gedrag in relatie tot soortgenoten</u>"},
    {"txtGedragAndereSoorten", 7, "Label26", "Gedrag in relatie tot andere soorten:", "", true, kThirdLow, "",
     "<u>3.3 Gedrag in relatie tot andere soorten</u>"},
    {"txtGedragLeeftijd", 8, "Label30", "Gedrag in relatie tot leeftijd", "", true, kFirst, "",
     "<u>3.4 Gedrag in relatie tot leeftijd</u>"},
    {"txtGedragVoedsel", 8, "Label28", "Gedrag in relatie tot voedsel:", "", true, kSecond, "",
     "<u>3.5 Gedrag in relatie tot voedsel</u>"},
    {"txtVOedselNature", 9, "Label27", "Voedselbehoefte van nature:", "", true, kFirst, "<b>4. Voedsel</b> ",
     "<u>4.1 Voedselbehoefte van nature</u>"},
    {"txtVoedsel", 9, "Label32", "Voedsel in aquaria:", "", true, kSecond, "", "<u>4.2 Voedsel in aquaria</u>"},
    {"txtKweekNatuur", 10, "Label35", "Alles over het kweken in de natuur:", "", true, kFirst, "<b>5. Kweek</b> ",
     "<u>5.1 Alles over het kweken in de natuur</u>"},
    {"txtKweekAqua", 10, "Label33", "Alles over het kweken in het aquarium:", "", true, kSecond, "",
     "<u>5.2 Alles over het kweken in het aquarium</u>"},
    {"txtOpkweek", 10, "Label36", "Opkweken van jongbroed:", "", true, kThirdLow, "",
     "<u>5.3 Opkweken van jongbroed</u>"},
    {"txtConclusie", 11, "", "", "", true, {240, 1200, 11295, 3975}, "<b>6. Conclusie</b> ", ""},
}};

const std::array<PageInfo, kPageCount> kPages{{
    {"Algemeen", "Label2",
     "Op het Vinkring worden artikelen over vissen volgens een vast stramien vormgegeven. Om het u makkelijker "
     "te maken hebben we deze applicatie voor u gemaakt. Met deze applicatie kunt u op een makkelijke manier "
     "via een wizzard uw artikel of 'Vis van de week'  samenstellen. Wanneer u klaar bent, kunt u het artikel "
     "op uw klembord plaatsen, en zo in uw post plakken. De teksten zijn dan al voorzien van alle benodigde "
     "UBB-codes."},
    {"Stap 1: Inleiding", "Label6",
     "Het eerste onderdeel van het artikel, is de reden waarom u het artikel wilt schrijven. De kop is dan "
     "ook: Aanleiding tot het schrijven van het artikel. Hieronder kunt u aangeven wat uw drijfveren waren."},
    {"Stap 2: Achtergrond (I)", "Label1", kBackgroundGuide},
    {"Stap 3: Achtergrond (II)", "Label12", kBackgroundGuide},
    {"Stap 4: Achtergrond (III)", "Label13", kBackgroundGuide},
    {"Stap 5: Achtergrond (IV)", "Label20", kBackgroundGuide},
    {"Stap 6: Achtergrond (V)", "Label21", kBackgroundGuide},
    {"Stap 7: Gedrag (I)", "Label24", kBehaviourGuide},
    {"Stap 8: Gedrag (II)", "Label29", kBehaviourGuide},
    {"Stap 9: Voedsel", "Label31", "Het vierde 'hoofdstuk'  behandeld het voedsel."},
    {"Stap 10: Kweek", "Label34", "Het vijfde 'hoofdstuk'  behandeld de eventuele kweek."},
    {"Stap 11: Conclusie", "Label39",
     "Het zesde 'hoofdstuk' is voor uw conclusie. Schrijf alles wat nu nog kwijt wilt over 'uw ' vis."},
    {"Stap 12: Links", "Label37", "De laatste loodjes, vul eventueel hier uw links in."},
    {"Op het klembord plaatsen", "Label43",
     "U kunt nu via de knop 'Klembord'  uw artikel op het klembord plaatsen. Mocht u Internet Explorer op uw "
     "machine hebben, dan kunt u met de onderstaande knop een preview opvragen. Wanneer u Microft Excel heeft, "
     "kunt u ook uw document laten controleren op spelfouten vanuit dit programma."},
}};

std::optional<std::size_t> fieldIndex(std::string_view name)
{
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].name == name)
            return i;
    }
    return std::nullopt;
}

std::string stripAccessKey(std::string_view caption)
{
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                shown += '&', ++i;
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

std::string fieldCaption(const FieldInfo& field)
{
    if (field.labelCaption.empty())
        return std::string(kPages[std::size_t(field.page)].caption);
    return stripAccessKey(field.labelCaption);
}

std::string sectionName(const FieldInfo& field)
{
    std::string name = fieldCaption(field);
    if (!name.empty() && name.back() == ':')
        name.pop_back();
    return name;
}

std::string sectionTitle(const FieldInfo& field)
{
    const std::string_view heading = field.sectionHeading.empty() ? field.chapterHeading : field.sectionHeading;
    std::string title;
    bool inTag = false;
    for (const char c : heading) {
        if (c == '<' || c == '>')
            inTag = c == '<';
        else if (!inTag)
            title += c;
    }
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    return field.multiLine ? title : std::string();
}

}  // namespace vinkring
