#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

class QWidget;

namespace runtime {

class Form;

// A command bound to a control's click. It runs behind the command boundary,
// so a run-time error it raises is reported and the program goes on.
using Command = void (*)(Form &form);

enum class ControlKind { pictureBox, textBox, commandButton, label };

// The desktop's own colours, so that a control follows light and dark themes.
enum class SystemColour {
    inherited,
    window,     // the background of text-entry fields
    windowText, // the text in text-entry fields
};

// A rectangle in twips (1/1440 inch); 15 twips make one logical pixel.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct FontSpec {
    std::string_view family;
    // Used where `family` is not installed.
    std::string_view fallbackFamily;
    double pointSize;
    int weight = 400;
};

// Everything about one control, in one row of its window's table.
struct ControlSpec {
    ControlKind kind;
    std::string_view name;
    // The caption of a label or button, or the starting text of a text box.
    std::string_view text;
    TwipRect bounds;
    int tabIndex;
    // A picture box's image: a resource path; an "@2x" file beside it, if
    // present, serves high-density screens.
    std::string_view picture = {};
    // Null: the window's font.
    const FontSpec *font = nullptr;
    SystemColour background = SystemColour::inherited;
    SystemColour foreground = SystemColour::inherited;
    std::string_view toolTip = {};
    // Empty: what assistive technology reads by default (a label's text).
    std::string_view accessibleName = {};
    std::string_view accessibleDescription = {};
    // A label whose text the user can select and copy.
    bool selectable = false;
    Command onClick = nullptr;
};

struct FormSpec {
    std::string_view name;
    std::string_view caption;
    int clientWidth; // twips; the window is not resizable
    int clientHeight;
    FontSpec font;
    // The window icon at its several sizes, as resource paths.
    std::span<const std::string_view> iconFiles;
    // Creation and stacking order: later rows lie on top of earlier ones.
    std::span<const ControlSpec> controls;
};

// A window built from its table, which must outlive it. Commands reach its
// controls by name.
class Form {
public:
    explicit Form(const FormSpec &table);
    ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    // The text of a text box, as UTF-8.
    std::string text(std::string_view textBox) const;
    // Replaces a label's caption, shown literally (never as markup). A caption
    // too wide for the label is shown whole in a smaller size of its font.
    void setCaption(std::string_view label, std::string_view caption);

    // Shows the window centred on the screen, the focus on tab index 0.
    void show();
    QWidget *window() const;

private:
    struct Widgets;
    std::unique_ptr<Widgets> m_widgets;
};

// Logical pixels for a length in twips.
constexpr int twipsToPixels(int twips) {
    return twips / 15;
}

} // namespace runtime
