#include "runtime/form.h"

#include "runtime/command_boundary.h"
#include "runtime/core/errors.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace runtime {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect toPixels(const TwipRect &twips) {
    return {twipsToPixels(twips.left), twipsToPixels(twips.top), twipsToPixels(twips.width),
            twipsToPixels(twips.height)};
}

QWidget *createTextBox(const ControlSpec &spec, QWidget *parent) {
    return new QLineEdit(toQString(spec.text), parent);
}

QWidget *createButton(const ControlSpec &spec, QWidget *parent) {
    // '&' would make an access key; the captions have none, so show it as is.
    auto *button =
        new QPushButton(toQString(spec.text).replace(u'&', QStringLiteral("&&")), parent);
    // Enter in a text box must not press the button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget *createLabel(const ControlSpec &spec, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(spec.text));
    return label;
}

QWidget *createControl(const ControlSpec &spec, QWidget *parent) {
    switch (spec.kind) {
    case ControlKind::textBox:
        return createTextBox(spec, parent);
    case ControlKind::commandButton:
        return createButton(spec, parent);
    case ControlKind::label:
    case ControlKind::pictureBox:
        return createLabel(spec, parent);
    }
    return nullptr;
}

} // namespace

struct Form::Widgets {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    // Controls by tab index, for the focus chain and the first focus.
    std::vector<std::pair<int, QWidget *>> focusOrder;
};

Form::Form(const FormSpec &spec) : m_widgets(std::make_unique<Widgets>()) {
    QWidget &window = *m_widgets->window;
    window.setObjectName(toQString(spec.name));
    window.setWindowTitle(toQString(spec.caption));
    window.setFixedSize(twipsToPixels(spec.clientWidth), twipsToPixels(spec.clientHeight));

    for (const ControlSpec &control : spec.controls) {
        QWidget *widget = createControl(control, &window);
        widget->setObjectName(toQString(control.name));
        widget->setGeometry(toPixels(control.bounds));
        if (widget->focusPolicy() != Qt::NoFocus)
            m_widgets->focusOrder.emplace_back(control.tabIndex, widget);
        if (auto *button = qobject_cast<QPushButton *>(widget); button && control.onClick) {
            const Command command = control.onClick;
            QObject::connect(button, &QPushButton::clicked, &window,
                             [this, command] { runCommand(command, *this); });
        }
    }

    auto &order = m_widgets->focusOrder;
    std::sort(order.begin(), order.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    if (!order.empty())
        order.front().second->setFocus();
}

Form::~Form() = default;

std::string Form::text(std::string_view textBox) const {
    const auto *box =
        m_widgets->window->findChild<QLineEdit *>(toQString(textBox), Qt::FindDirectChildrenOnly);
    if (box == nullptr)
        raiseRuntimeError(ErrorCode::internalError);
    return box->text().toStdString();
}

void Form::setCaption(std::string_view label, std::string_view caption) {
    auto *target =
        m_widgets->window->findChild<QLabel *>(toQString(label), Qt::FindDirectChildrenOnly);
    if (target == nullptr)
        raiseRuntimeError(ErrorCode::internalError);
    target->setText(toQString(caption));
}

void Form::show() {
    m_widgets->window->show();
}

QWidget *Form::window() const {
    return m_widgets->window.get();
}

} // namespace runtime
