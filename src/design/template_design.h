// Templates: ready-made card designs kept as ".tep" files in the start folder's "temp"
// folder. A template is read into its own record, TemplateDesign, which the template
// browser shows and, once the user confirms, copies into the design. No Windows header is
// needed here.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "design/card_design.h"

// The card group of a CardDesign without the printed card size: no base_pw / base_ph, no
// sheet grid, no environment options, no duplex choice; the front as its own card, and
// its back. Field names are the settings-file keys.
struct TemplateDesign : CardSide {
    int back_on;
    CardSide back;
};

// The empty template: a 455 x 275 card with no base picture and every item off, empty
// texts and paths, the default font (height -13, weight 400), white background colours,
// the face at (100, 120) 80 x 100. Lv and Sell of each QR code keep their values, so a
// file that lacks those keys inherits them from the template read before it. The back is
// the empty back (ResetBack), off.
void ResetTemplate(TemplateDesign& templ);

// Copies the template's card into the design: size, base picture and placement, the
// marks, the texts with their fonts, the QR codes and the face, each whole. What the
// template holds beyond the ranges of the program's dialogs is brought into them
// (KeepDesignInRange); the printed card size then follows the orientation of the card as
// brought into range (PrintedCardSize). The back comes with the template, used or not as
// the template has it: a one-sided template leaves the design one-sided. The sheet grid,
// the duplex choice, the environment options and main_filename stay as they are.
void ApplyTemplate(CardDesign& design, const TemplateDesign& templ);

// Where templates live, relative to the start folder, and what an entry of the template
// list starts with.
inline constexpr char16_t kTemplateFolder[] = u"temp";
inline constexpr char16_t kTemplateEntryPrefix[] = u"temp\\";
inline constexpr char16_t kTemplateExtension[] = u".tep";

// Entries a template scan keeps at most, and the units of one entry, terminator included.
inline constexpr std::size_t kTemplateListLimit = 299;
inline constexpr std::size_t kTemplateEntryUnits = 256;

// A file's long name ends in ".tep", in any case ("a.tep", "B.TEP"; not "a.tepx", whose
// short name "A~1.TEP" the system's own pattern match would take).
bool IsTemplateFileName(std::u16string_view name);

// The order of the template list, as the Windows file system lists a folder: names
// compared with letters folded to upper case (ASCII and full-width Latin), then as they
// are, so the order is the same on every machine.
bool TemplateNameBefore(std::u16string_view a, std::u16string_view b);

// The entries of the template list from the long names of the regular files of the
// template folder (sub-folders already left out), in any order: template names only,
// sorted by TemplateNameBefore, each as "temp\" + name; a name whose entry would not fit
// kTemplateEntryUnits whole is skipped, never cut; at most kTemplateListLimit entries.
std::vector<std::u16string> TemplateEntries(std::vector<std::u16string> file_names);
