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

// A rectangle in twips (1/1440 inch); 15 twips make one logical pixel.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// Everything about one control, in one row of its window's table.
struct ControlSpec {
    ControlKind kind;
    std::string_view name;
    // The caption of a label or button, or the starting text of a text box.
    std::string_view text;
    TwipRect bounds;
    int tabIndex;
    Command onClick = nullptr;
};

struct FormSpec {
    std::string_view name;
    std::string_view caption;
    int clientWidth; // twips
    int clientHeight;
    // Creation and stacking order: later rows lie on top of earlier ones.
    std::span<const ControlSpec> controls;
};

// A window built from its table. Commands reach its controls by name.
class Form {
public:
    explicit Form(const FormSpec &spec);
    ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    // The text of a text box, as UTF-8.
    std::string text(std::string_view textBox) const;
    // Replaces a label's caption, shown literally (never as markup).
    void setCaption(std::string_view label, std::string_view caption);

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
