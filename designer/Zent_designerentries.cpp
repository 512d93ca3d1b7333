// The classes the plugin offers: what Designer shows of each and how an
// instance is made.
#include "Zent_Colsel.h"
#include "Zent_NumLab.h"
#include "Zent_designer.h"
#include "Zent_extctrls.h"
#include "Zent_forms.h"
#include "Zent_sevenseg.h"
#include "Zent_stdctrls.h"

namespace zent {

namespace {

constexpr const char* DisplayGroup = "Zent Display Widgets";
constexpr const char* StandardGroup = "Zent Standard Controls";

// The enumerations and colours the display widgets declare are Qt's, which
// Designer offers as drop-downs and colour pickers; they need no note. Align,
// which every control has, and the standard controls' enumerations and
// colours are plain numbers in the property editor: their tooltips say what
// the numbers mean.
constexpr const char* ColorTip =
    "TColor as a number: $00BBGGRR (red 255, lime 65280, blue 16711680, white 16777215); "
    "a system colour is -16777216 plus its index (clWindow -16777211, clBtnFace -16777201)";
constexpr const char* AlignTip = "0 alNone, 1 alTop, 2 alBottom, 3 alLeft, 4 alRight, 5 alClient";
constexpr const char* AlignmentTip = "0 taLeftJustify, 1 taRightJustify, 2 taCenter";

constexpr TPropertyNote SevenSegNotes[] = {
    {"Align", AlignTip},
    {"Caption", "Digits, - + : \xB0 A to F; a point or comma after a symbol shares its cell", true},
    {"InterDigDist", "Gap between cells in pixels; at most 255"},
    {"Margin", "Distance from each edge to the cells; at most Height / 2 - 1 when written"},
    {"NumDigits", "Number of cells, 1 to 32"},
};

constexpr TPropertyNote NumLabNotes[] = {
    {"Align", AlignTip},
    {"DTFormat", "Date-time pattern of dtDateTime", true},
    {"LeftText", nullptr, true},
    {"OverflowIndicator", "Shown in place of a value that does not fit", true},
    {"Precision", "0 to 15; what it counts depends on DisplayType"},
    {"RightText", nullptr, true},
    {"StateText", "The text dtState shows", true},
};

constexpr TPropertyNote ColSelNotes[] = {
    {"ColorBarWidth", "Width of the colour bar in pixels; 0 draws none"},
    {"NumColors", "Entries listed, 1 to 255; setting it selects entry 1, so it comes before SelColor"},
};

constexpr TPropertyNote FormNotes[] = {
    {"Caption", nullptr, true},
    {"Color", ColorTip},
    {"FontName", nullptr, true},
    {"FontSize", "Points; negative for a height in pixels"},
};
constexpr TPropertyNote LabelNotes[] = {{"Align", AlignTip}, {"Caption", nullptr, true}, {"Alignment", AlignmentTip}};
constexpr TPropertyNote EditNotes[] = {{"Align", AlignTip}, {"Text", nullptr, true}};
constexpr TPropertyNote ScrollBarNotes[] = {{"Align", AlignTip}, {"PageSize", "At most Max"}};
constexpr TPropertyNote PanelNotes[] = {{"Align", AlignTip}, {"BevelOuter", "0 bvNone, 1 bvLowered, 2 bvRaised"}};
constexpr TPropertyNote RadioGroupNotes[] = {
    {"Align", AlignTip}, {"Caption", nullptr, true}, {"ItemIndex", "-1: none selected"}};
constexpr TPropertyNote SplitterNotes[] = {
    {"Align", AlignTip}, {"ResizeStyle", "0 rsNone, 1 rsLine, 2 rsUpdate, 3 rsPattern"}};

template <class T>
QWidget* Make(QWidget* Parent) {
    return new T(Parent);
}

// A form is a window of its own; placed in another widget (Designer's form
// editor, or a parent given to QUiLoader) it is a child like any other.
QWidget* MakeForm(QWidget* Parent) {
    auto* Form = new TForm;
    if (Parent) Form->setParent(Parent);
    return Form;
}

// The widget-box pictures: each control drawn small.
void ShowSevenSeg(QWidget* W) {
    auto* S = static_cast<TSevenSeg*>(W);
    S->resize(48, 64);
    S->SetMargin(4);
    S->SetInterDigDist(0);
    S->SetNumDigits(1);
    S->SetCaption("8.");
}

void ShowNumLab(QWidget* W) {
    auto* L = static_cast<TNumLab*>(W);
    L->resize(48, 28);
    L->SetLeftSpace(0);
    L->SetLabelWidth(48);
    L->SetDisplayType(dtInt);
    L->SetValue(42);
}

void ShowColSel(QWidget* W) {
    auto* C = static_cast<TColSel*>(W);
    C->resize(56, 40);
    C->SetColorBarWidth(20);
    C->SetSelColor(clRed);
}

void ShowLabel(QWidget* W) {
    static_cast<TLabel*>(W)->SetCaption("Label");
}

void ShowEdit(QWidget* W) {
    static_cast<TEdit*>(W)->SetText("Edit");
}

void ShowScrollBar(QWidget* W) {
    W->resize(80, W->height());
    static_cast<TScrollBar*>(W)->SetPosition(30);
}

void ShowRadioGroup(QWidget* W) {
    auto* G = static_cast<TRadioGroup*>(W);
    G->SetItems({"One", "Two"});
    G->SetItemIndex(0);
}

void ShowSplitter(QWidget* W) {
    W->resize(48, 8);
    static_cast<TSplitter*>(W)->SetBeveled(true);
}

constexpr TDesignerEntry Entries[] = {
    {"zent::TSevenSeg", "Zent_sevenseg.h", DisplayGroup, "SevenSeg", "Seven-segment display",
     "A row of slanted seven-segment digit cells, like an instrument read-out. Caption is read into "
     "NumDigits cells: digits, -, +, :, the degree sign and A to F, each with an optional decimal point.",
     false, Make<TSevenSeg>, ShowSevenSeg, {}, "", SevenSegNotes},
    {"zent::TNumLab", "Zent_NumLab.h", DisplayGroup, "NumLab", "Numeric label",
     "A number in a framed value box, between an optional text on its left and one on its right. "
     "DisplayType and Precision choose one of fifteen forms: fixed, general, exponential, integer, "
     "hexadecimal, binary, octal, degrees, engineering, date-time or a state text.",
     false, Make<TNumLab>, ShowNumLab, {}, "", NumLabNotes},
    {"zent::TColSel", "Zent_Colsel.h", DisplayGroup, "ColSel", "Colour selector",
     "A drop-down list of colours, each item a colour bar and the colour's name. NumColors entries of "
     "the standard palette are listed; SelColor is the colour picked.",
     false, Make<TColSel>, ShowColSel, {}, "", ColSelNotes},

    {"zent::TForm", "Zent_forms.h", StandardGroup, "Form", "Form", "A window: its colour, minimum height and font.",
     true, MakeForm, nullptr, {400, 300}, "", FormNotes},
    {"zent::TLabel", "Zent_stdctrls.h", StandardGroup, "Label", "Label", "A line of plain text.", false,
     Make<TLabel>, ShowLabel, {40, 16},
     "  <property name=\"Caption\" stdset=\"0\"><string notr=\"true\">Label</string></property>\n", LabelNotes},
    {"zent::TEdit", "Zent_stdctrls.h", StandardGroup, "Ed", "Edit box", "A one-line text field.", false,
     Make<TEdit>, ShowEdit, {}, "", EditNotes},
    {"zent::TScrollBar", "Zent_stdctrls.h", StandardGroup, "SBar", "Scroll bar",
     "A horizontal scroll bar from Min to Max. Min <= Max and PageSize <= Max must hold.", false,
     Make<TScrollBar>, ShowScrollBar, {}, "", ScrollBarNotes},
    {"zent::TPanel", "Zent_extctrls.h", StandardGroup, "Panel", "Panel",
     "A container with a one-pixel bevel; aligned controls are laid out inside it.", true, Make<TPanel>,
     nullptr, {185, 41}, "", PanelNotes},
    {"zent::TRadioGroup", "Zent_extctrls.h", StandardGroup, "RG", "Radio group",
     "A framed group of radio buttons, one for each line of Items; ItemIndex is the one selected.", false,
     Make<TRadioGroup>, ShowRadioGroup, {185, 105},
     "  <property name=\"Caption\" stdset=\"0\"><string notr=\"true\">RadioGroup</string></property>\n",
     RadioGroupNotes},
    {"zent::TSplitter", "Zent_extctrls.h", StandardGroup, "Splitter", "Splitter",
     "A bar that resizes the control before it: aligned to the top, the top-aligned control created "
     "just before it.",
     false, Make<TSplitter>, ShowSplitter, {}, "", SplitterNotes},
};

}  // namespace

std::span<const TDesignerEntry> DesignerEntries() {
    return Entries;
}

}  // namespace zent
