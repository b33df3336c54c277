// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
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

// A box is named after its label, as a screen reader reads the window.
QString accessibleNameOf(std::span<const ControlSpec> controls, const ControlSpec &row) {
    const ControlSpec *label = labelFor(controls, row);
    return label != nullptr ? toQString(label->text) : QString();
}

void applyAppearance(std::span<const ControlSpec> controls, const ControlSpec &row,
                     QWidget &widget) {
    widget.setObjectName(toQString(row.name));
    // Qt scales logical pixels to the screen itself: the layout is placed at
    // the standard density.
    const PixelRect bounds = toPixels(row.bounds, standardDpi);
    widget.setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
    if (row.font != nullptr)
        widget.setFont(toQFont(*row.font));
    if (row.background != SystemColour::inherited) {
        widget.setBackgroundRole(paletteRole(row.background));
        widget.setAutoFillBackground(true);
    }
    if (row.foreground != SystemColour::inherited)
        widget.setForegroundRole(paletteRole(row.foreground));
    widget.setToolTip(toQString(row.toolTip));
    widget.setAccessibleName(accessibleNameOf(controls, row));
    widget.setAccessibleDescription(toQString(row.accessibleDescription));
}

// The room a caption has: a button keeps the margins the style keeps around
// its caption.
double roomIn(QWidget &control) {
    if (auto *button = qobject_cast<QPushButton *>(&control))
        return button->width() -
               2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    return static_cast<QLabel &>(control).contentsRect().width();
}

void reportPresses(const PressReport &pressed, std::size_t row, QWidget &control, QWidget &window) {
    if (auto *button = qobject_cast<QPushButton *>(&control))
        QObject::connect(button, &QPushButton::clicked, &window, [&pressed, row] { pressed(row); });
}

} // namespace

Form::Native::Native(const FormSpec &form, const PressReport &pressed)
    : table(form), controls(table.controls.size()) {
    window->setObjectName(toQString(table.name));
    window->setWindowTitle(toQString(table.caption));
    window->setFont(toQFont(table.font));
    window->setFixedSize(twipsToPixels(table.clientWidth, standardDpi),
                         twipsToPixels(table.clientHeight, standardDpi));
    QIcon icon;
    for (std::string_view file : table.iconFiles)
        icon.addPixmap(QPixmap::fromImage(readImage(resourcePath(file))));
    window->setWindowIcon(icon);

    for (const std::size_t row : readingOrder(table.controls)) {
        const ControlSpec &control = table.controls[row];
        QWidget *widget = createControl(control, window.get());
        applyAppearance(table.controls, control, *widget);
        if (!takesFocus(control.kind))
            widget->setFocusPolicy(control.selectable ? Qt::ClickFocus : Qt::NoFocus);
        reportPresses(pressed, row, *widget, *window);
        controls[row] = widget;
    }
    const std::vector<std::size_t> order = focusOrder(table.controls);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(controls[order[i - 1]], controls[order[i]]);
}

std::string Form::Native::text(std::size_t row) const {
    return static_cast<QLineEdit &>(*controls[row]).text().toStdString();
}

void Form::Native::setCaption(std::size_t row, std::string_view caption) {
    static_cast<QLabel &>(*controls[row]).setText(toQString(caption));
}

double Form::Native::captionRoom(std::size_t row) const {
    return roomIn(*controls[row]);
}

double Form::Native::captionWidth(std::size_t row, std::string_view caption,
                                  double pointSize) const {
    QFont font = toQFont(fontOf(table, table.controls[row]));
    font.setPointSizeF(pointSize);
    return QFontMetricsF(font).horizontalAdvance(toQString(caption));
}

// Setting a font makes Qt resolve it and lay the control out again: nothing
// to do for a caption that keeps its size.
void Form::Native::setCaptionSize(std::size_t row, double pointSize) {
    QFont font = toQFont(fontOf(table, table.controls[row]));
    font.setPointSizeF(pointSize);
    if (font != controls[row]->font())
        controls[row]->setFont(font);
}

void Form::Native::focus(std::size_t row) {
    controls[row]->setFocus();
}

void Form::Native::show() {
    if (const QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
}

NativeFormPointer buildNativeForm(const FormSpec &table, const PressReport &pressed) {
    return std::make_unique<Form::Native>(table, pressed);
}

} // namespace runtime
