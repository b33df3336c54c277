// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/form.h"

#include "runtime/command_boundary.h"
#include "runtime/layout.h"
#include "runtime/qt/native_form.h"
#include "runtime/qt/qt_conversions.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <limits>
#include <vector>

namespace runtime {
namespace {

// Qt scales logical pixels to the screen itself, so the layout is placed at
// the standard density.
QRect toLogicalPixels(const TwipRect &twips) {
    const PixelRect pixels = toPixels(twips, standardDpi);
    return {pixels.left, pixels.top, pixels.width, pixels.height};
}

QPalette::ColorRole paletteRole(SystemColour colour) {
    return colour == SystemColour::window ? QPalette::Base : QPalette::Text;
}

// Reads a picture in the format its name gives. Without the format, Qt
// loads every image plugin at start-up to ask whether it reads the file.
QImage readImage(const QString &path) {
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// The program's pictures are built into it as Qt resources.
QString resourcePath(std::string_view file) {
    return QStringLiteral(":/") + toQString(file);
}

// The picture at the screen's density: its "@2x" twin where the screen is
// dense enough and the twin exists.
QPixmap loadPicture(std::string_view file) {
    const QString dense = resourcePath(denseTwinName(file));
    if (qApp->devicePixelRatio() > 1.0 && QFile::exists(dense)) {
        QPixmap pixmap = QPixmap::fromImage(readImage(dense));
        pixmap.setDevicePixelRatio(2.0);
        return pixmap;
    }
    return QPixmap::fromImage(readImage(resourcePath(file)));
}

QWidget *createTextBox(const ControlSpec &row, QWidget *parent) {
    auto *box = new QLineEdit(toQString(row.text), parent);
    // A box that silently dropped what is past its limit (32,767 characters
    // by default) could turn a long pasted number into a different one.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QWidget *createButton(const ControlSpec &row, QWidget *parent) {
    auto *button = new QPushButton(toQString(withLiteralAmpersands(row.text)), parent);
    // Enter in a text box must not press the button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget *createLabel(const ControlSpec &row, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(row.text));
    if (row.selectable)
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The picture is drawn from the box's top-left corner and clipped by the box.
QWidget *createPictureBox(const ControlSpec &row, QWidget *parent) {
    auto *box = new QLabel(parent);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setPixmap(loadPicture(row.picture));
    return box;
}

QWidget *createControl(const ControlSpec &row, QWidget *parent) {
    switch (row.kind) {
    case ControlKind::textBox:
        return createTextBox(row, parent);
    case ControlKind::commandButton:
        return createButton(row, parent);
    case ControlKind::label:
        return createLabel(row, parent);
    case ControlKind::pictureBox:
        return createPictureBox(row, parent);
    }
    return nullptr;
}

void applyAppearance(const ControlSpec &row, QWidget &widget) {
    widget.setObjectName(toQString(row.name));
    widget.setGeometry(toLogicalPixels(row.bounds));
    if (row.font != nullptr)
        widget.setFont(toQFont(*row.font));
    if (row.background != SystemColour::inherited) {
        widget.setBackgroundRole(paletteRole(row.background));
        widget.setAutoFillBackground(true);
    }
    if (row.foreground != SystemColour::inherited)
        widget.setForegroundRole(paletteRole(row.foreground));
    widget.setToolTip(toQString(row.toolTip));
    widget.setAccessibleName(toQString(row.accessibleName));
    widget.setAccessibleDescription(toQString(row.accessibleDescription));
}

// `font` at the largest size, from its own down, at which `text` fits
// `available` pixels: a caption is shown whole in whatever font stands in for
// the one it was sized for, and a long number is never cut into a different one.
QFont fittedFont(QFont font, const QString &text, int available) {
    font.setPointSizeF(fittedPointSize(font.pointSizeF(), available, [&](double pointSize) {
        QFont sized = font;
        sized.setPointSizeF(pointSize);
        return QFontMetricsF(sized).horizontalAdvance(text);
    }));
    return font;
}

// Setting a font makes Qt resolve it and lay the control out again: nothing
// to do at start-up for a caption that already fits, or a click whose result
// keeps its size.
void setChangedFont(QWidget &control, const QFont &font) {
    if (font != control.font())
        control.setFont(font);
}

void fitCaption(QLabel &label, const QFont &font) {
    setChangedFont(label, fittedFont(font, label.text(), label.contentsRect().width()));
}

// A button's caption keeps the margins the style keeps around it.
void fitCaption(QPushButton &button) {
    const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    setChangedFont(button, fittedFont(button.font(), button.text(), button.width() - 2 * margin));
}

// The captions the table gives, fitted once as the window is built.
void fitTableCaption(const ControlSpec &row, QWidget &control) {
    if (!hasFittedCaption(row.kind) || row.text.empty())
        return;
    if (auto *button = qobject_cast<QPushButton *>(&control))
        fitCaption(*button);
    else
        fitCaption(static_cast<QLabel &>(control), control.font());
}

template <typename Widget> Widget &controlOfRow(const Form &form, std::size_t row) {
    return static_cast<Widget &>(*form.native().controls[row]);
}

} // namespace

Form::Form(const FormSpec &table)
    : m_table(wellFormed(table)), m_native(std::make_unique<Native>()) {
    QWidget &window = *m_native->window;
    window.setObjectName(toQString(table.name));
    window.setWindowTitle(toQString(table.caption));
    window.setFont(toQFont(table.font));
    window.setFixedSize(twipsToPixels(table.clientWidth, standardDpi),
                        twipsToPixels(table.clientHeight, standardDpi));
    QIcon icon;
    for (std::string_view file : table.iconFiles)
        icon.addPixmap(QPixmap::fromImage(readImage(resourcePath(file))));
    window.setWindowIcon(icon);

    std::vector<QWidget *> &widgets = m_native->controls;
    for (const ControlSpec &control : table.controls) {
        QWidget *widget = createControl(control, &window);
        applyAppearance(control, *widget);
        fitTableCaption(control, *widget);
        if (!takesFocus(control.kind))
            widget->setFocusPolicy(control.selectable ? Qt::ClickFocus : Qt::NoFocus);
        if (auto *button = qobject_cast<QPushButton *>(widget); button && control.onClick) {
            const Command command = control.onClick;
            QObject::connect(button, &QPushButton::clicked, &window,
                             [this, command] { runCommand(command, *this); });
        }
        widgets.push_back(widget);
    }

    const std::vector<std::size_t> order = focusOrder(table.controls);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(widgets[order[i - 1]], widgets[order[i]]);
    if (!order.empty())
        widgets[order.front()]->setFocus();
}

Form::~Form() = default;

std::string Form::text(std::string_view textBox) const {
    const std::size_t row = rowNamed(m_table, textBox, ControlKind::textBox);
    return controlOfRow<QLineEdit>(*this, row).text().toStdString();
}

void Form::setCaption(std::string_view label, std::string_view caption) {
    const std::size_t row = rowNamed(m_table, label, ControlKind::label);
    auto &target = controlOfRow<QLabel>(*this, row);
    target.setText(toQString(caption));
    fitCaption(target, toQFont(fontOf(m_table, m_table.controls[row])));
}

void Form::show() {
    QWidget &window = *m_native->window;
    if (const QScreen *screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
}

Form::Native &Form::native() const {
    return *m_native;
}

} // namespace runtime
