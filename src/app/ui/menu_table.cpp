#include "app/ui/menu_table.h"

namespace kdm {
namespace {

constexpr MenuDef kMenus[] = {
    {"&Evidencije  ", ""},
    {"&Servisi  ", ""},
    {"&Edit  ", ""},
    {"&Window  ", "Create and Arrange windows"},
    {"&Upute  ", "Windows Help"},
};

enum { Evidencije, Servisi, Edit, Window, Upute };
using A = MenuAction;

constexpr MenuItemDef kItems[] = {
    {Evidencije, A::Start, "&1. Poslodavac i zaposlenici", "", "BrowseFirme"},
    {Evidencije, A::Start, "&2. Slanje podataka u VALTA", "", "NewFormObrazac"},
    {Evidencije, A::Separator, "", "", ""},
    {Evidencije, A::Start, "&3. Preuzimanje podataka", "", "NewPreuzmiPodatke"},
    {Evidencije, A::Separator, "", "", ""},
    {Evidencije, A::Start, "&3. Vrste obveznika", "Upis, promjena i brisanje vrste obveznika", "BrowseVrsteObveznika"},
    {Evidencije, A::Start, "&4. Vrste obračuna/ispravka",
     "Upis, promjena i brisanje pojmova u šifarniku Vrste obračuna/ispravkaa", "BrowseVrsteUplata"},
    {Evidencije, A::Start, "&5. Osnov obračuna", "", "BrowseOsnovObracuna"},
    {Evidencije, A::Start, "&6. Staž s uvećanim trajanjem", "Upis, promjena i brisanje oznaka s povečanim trajanjem  ",
     "BrowseOznakaStaza"},
    {Evidencije, A::Start, "&7. Stope doprinosa", "Pregled, upis, ažiriranje i brisanje obračunskih stopa",
     "BrowseStope"},
    {Evidencije, A::Start, "&8. Gradovi i općine",
     "Upis, promjena i brisanje podataka iz šifarnika općina i gradova u RH ", "BrowseOpcine"},
    {Evidencije, A::Separator, "", "", ""},
    {Evidencije, A::Start, "&9. Vezne kontrole", "", "Stablo"},
    {Evidencije, A::Separator, "", "", ""},
    {Evidencije, A::Exit, "&X. IZLAZ IZ PROGRAMA", "Exit this application", ""},

    {Servisi, A::Parameters, "&1. Aplikacijski parametri", "", "UpdateAPLPARAM"},
    {Servisi, A::Start, "&2. Pregled slanja u VALTA", "", "BrowseTBOBRAZACA"},
    {Servisi, A::Separator, "", "", ""},
    {Servisi, A::Start, "&3. Kontrola ulazne datoteke", "", "kontrolaUlaza"},
    {Servisi, A::Start, "&4. Pregled grešaka i upozorenja", "", "PregledGresaka"},
    {Servisi, A::Separator, "", "", ""},
    {Servisi, A::Start, "&5. Formalna kontrola sloga za VALTA", "", "KontrolaIzlaza"},
    {Servisi, A::Separator, "", "", ""},
    {Servisi, A::Start, "&6. Export datoteka", "", "ExportDatoteka"},
    {Servisi, A::Start, "&7. Import datoteka", "", "ImportDatoteka"},
    {Servisi, A::Start, "&8. Preuzimanje podatka iz 2004", "", "PreuzmiZaposlene"},
    {Servisi, A::Separator, "", "", ""},
    {Servisi, A::PrinterSetup, "&9. Izbor i podešavanje pisača ...", "Setup printer", ""},

    {Edit, A::Cut, "Cu&t", "Remove item to Windows Clipboard", ""},
    {Edit, A::Copy, "&Copy", "Copy item to Windows Clipboard", ""},
    {Edit, A::Paste, "&Paste", "Paste contents of Windows Clipboard", ""},

    {Window, A::Tile, "T&ile", "Make all open windows visible", ""},
    {Window, A::Cascade, "&Cascade", "Stack all open windows", ""},
    {Window, A::ArrangeIcons, "&Arrange Icons", "Align all window icons", ""},

    {Upute, A::About, "&O programu", "", "AboutProgram"},
    {Upute, A::HelpContents, "&Sadržaj", "View the contents of the help file", ""},
    {Upute, A::HelpSearch, "&Pretraživanje Uputa...", "Search for help on a subject", ""},
    {Upute, A::HelpOnHelp, "&Kako koristiti Upute", "How to use Windows Help", ""},
};

}  // namespace

std::span<const MenuDef> menus() { return kMenus; }
std::span<const MenuItemDef> menuItems() { return kItems; }

}  // namespace kdm
