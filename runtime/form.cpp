#include "runtime/form.h"

#include "runtime/command_boundary.h"
#include "runtime/core/errors.h"
#include "runtime/qt_conversions.h"

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
#include <QWidget>

#include <algorithm>
#include <vector>

namespace runtime {
namespace {

QRect toPixels(const TwipRect &twips) {
    return {twipsToPixels(twips.left), twipsToPixels(twips.top), twipsToPixels(twips.width),
            twipsToPixels(twips.height)};
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

// The picture at the screen's density: its "@2x" twin where the screen is
// dense enough and the twin exists.
QPixmap loadPicture(std::string_view path) {
    const QString normal = toQString(path);
    const qsizetype dot = normal.lastIndexOf(u'.');
    const QString dense = normal.left(dot) + QStringLiteral("@2x") + normal.mid(dot);
    if (qApp->devicePixelRatio() > 1.0 && QFile::exists(dense)) {
        QPixmap pixmap = QPixmap::fromImage(readImage(dense));
        pixmap.setDevicePixelRatio(2.0);
        return pixmap;
    }
    return QPixmap::fromImage(readImage(normal));
}

QWidget *createTextBox(const ControlSpec &row, QWidget *parent) {
    return new QLineEdit(toQString(row.text), parent);
}

QWidget *createButton(const ControlSpec &row, QWidget *parent) {
    // '&' would make an access key; the captions have none, so show it as is.
    auto *button = new QPushButton(toQString(row.text).replace(u'&', QStringLiteral("&&")), parent);
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

bool takesFocus(ControlKind kind) {
    return kind == ControlKind::textBox || kind == ControlKind::commandButton;
}

void applyAppearance(const ControlSpec &row, QWidget &widget) {
    widget.setObjectName(toQString(row.name));
    widget.setGeometry(toPixels(row.bounds));
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

// Shrinks the label's font, from its table size down, until the caption fits
// the label's width, so that a long number is never cut into a different one.
void fitCaption(QLabel &label, QFont font) {
    const qreal available = label.contentsRect().width();
    constexpr qreal step = 0.25;
    while (QFontMetricsF(font).horizontalAdvance(label.text()) > available &&
           font.pointSizeF() > step)
        font.setPointSizeF(font.pointSizeF() - step);
    label.setFont(font);
}

} // namespace

struct Form::Widgets {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::span<const ControlSpec> controls;
};

Form::Form(const FormSpec &table) : m_widgets(std::make_unique<Widgets>()) {
    m_widgets->controls = table.controls;
    QWidget &window = *m_widgets->window;
    window.setObjectName(toQString(table.name));
    window.setWindowTitle(toQString(table.caption));
    window.setFont(toQFont(table.font));
    window.setFixedSize(twipsToPixels(table.clientWidth), twipsToPixels(table.clientHeight));
    QIcon icon;
    for (std::string_view file : table.iconFiles)
        icon.addPixmap(QPixmap::fromImage(readImage(toQString(file))));
    window.setWindowIcon(icon);

    // Focusable controls by tab index, for the focus chain and the first focus.
    std::vector<std::pair<int, QWidget *>> focusOrder;
    for (const ControlSpec &control : table.controls) {
        QWidget *widget = createControl(control, &window);
        applyAppearance(control, *widget);
        if (takesFocus(control.kind))
            focusOrder.emplace_back(control.tabIndex, widget);
        else
            widget->setFocusPolicy(control.selectable ? Qt::ClickFocus : Qt::NoFocus);
        if (auto *button = qobject_cast<QPushButton *>(widget); button && control.onClick) {
            const Command command = control.onClick;
            QObject::connect(button, &QPushButton::clicked, &window,
                             [this, command] { runCommand(command, *this); });
        }
    }

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        QWidget::setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    if (!focusOrder.empty())
        focusOrder.front().second->setFocus();
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
    const auto row = std::find_if(m_widgets->controls.begin(), m_widgets->controls.end(),
                                  [label](const ControlSpec &c) { return c.name == label; });
    auto *target =
        m_widgets->window->findChild<QLabel *>(toQString(label), Qt::FindDirectChildrenOnly);
    if (target == nullptr || row == m_widgets->controls.end())
        raiseRuntimeError(ErrorCode::internalError);
    target->setText(toQString(caption));
    fitCaption(*target, row->font != nullptr ? toQFont(*row->font) : m_widgets->window->font());
}

void Form::show() {
    QWidget &window = *m_widgets->window;
    if (const QScreen *screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
}

QWidget *Form::window() const {
    return m_widgets->window.get();
}

} // namespace runtime
