// SPDX-License-Identifier: MIT
// The graph panel: the canvas with its mouse and keys, the tabs and the two export commands.
#include "app/graph_panel.h"

#include "app/file_filters.h"
#include "app/platform.h"
#include "app/text_conversion.h"
#include "config/interface_texts.h"
#include "render/graph_export.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QTabBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace app {

namespace {

/// How near a curve the pointer must be for its tool tip, in pixels.
constexpr double kTipDistance = 8.0;
/// The part of the window an arrow key moves it by.
constexpr double kKeyPan = 0.1;

} // namespace

GraphCanvas::GraphCanvas(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(200, 160);
}

void GraphCanvas::setTab(render::GraphTab tab)
{
    m_tab = tab;
    update();
}

void GraphCanvas::setStyle(const render::GraphStyle& style)
{
    m_style = style;
    update();
}

render::GraphFrame GraphCanvas::frame() const
{
    return render::graphFrame(m_scene, m_tab, size(), QFontMetricsF(m_style.font, this));
}

QString GraphCanvas::toolTipAt(QPoint at) const
{
    if (m_tab != render::GraphTab::Real || !m_scene.isDrawable())
        return {};
    const render::GraphFrame f = frame();
    if (!f.plot.contains(at))
        return {};
    const double x = f.xAt(at.x());
    double left = 0.0;
    double right = 0.0;
    const bool hasLeft = analysis::realValue(m_scene.equation().left(), x, left);
    const bool hasRight = analysis::realValue(m_scene.equation().right(), x, right);
    const auto isNear = [&](bool has, double y) {
        return has && std::fabs(f.toPixel(x, y).y() - at.y()) <= kTipDistance;
    };
    if (!isNear(hasLeft, left) && !isNear(hasRight, right))
        return {};
    const QString& separator = m_style.texts.decimalSeparator;
    const auto value = [&](bool has, double y) {
        return has ? render::markText({y, 0.0}, separator) : QStringLiteral("\u2013");
    };
    return QStringLiteral("x = %1\n%2: %3\n%4: %5")
        .arg(render::markText({x, 0.0}, separator), m_style.texts.leftSide, value(hasLeft, left),
             m_style.texts.rightSide, value(hasRight, right));
}

void GraphCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render::paintGraph(painter, size(), m_scene, m_tab, m_style);
}

void GraphCanvas::zoomAt(double factor, QPointF at)
{
    const render::GraphFrame f = frame();
    m_scene.zoom(m_tab, factor, f.xAt(at.x()), f.yAt(at.y()));
    update();
}

void GraphCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_isDragging = true;
    m_dragFrom = event->position();
}

void GraphCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_isDragging || (event->buttons() & Qt::LeftButton) == 0)
        return QWidget::mouseMoveEvent(event);
    const render::GraphFrame f = frame();
    const QPointF moved = event->position() - m_dragFrom;
    m_dragFrom = event->position();
    // The plane follows the pointer.
    m_scene.pan(m_tab, -moved.x() / f.plot.width() * f.window.width(),
                moved.y() / f.plot.height() * f.window.height());
    update();
}

void GraphCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_isDragging = false;
    QWidget::mouseReleaseEvent(event);
}

void GraphCanvas::mouseDoubleClickEvent(QMouseEvent*)
{
    m_scene.reset();
    update();
}

void GraphCanvas::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0)
        return;
    zoomAt(std::pow(kZoomStep, notches), event->position());
    event->accept();
}

void GraphCanvas::keyPressEvent(QKeyEvent* event)
{
    const render::GraphFrame f = frame();
    const QPointF middle = f.plot.center();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAt(kZoomStep, middle);
        break;
    case Qt::Key_Minus:
        zoomAt(1.0 / kZoomStep, middle);
        break;
    case Qt::Key_Left:
        m_scene.pan(m_tab, -kKeyPan * f.window.width(), 0);
        break;
    case Qt::Key_Right:
        m_scene.pan(m_tab, kKeyPan * f.window.width(), 0);
        break;
    case Qt::Key_Up:
        m_scene.pan(m_tab, 0, kKeyPan * f.window.height());
        break;
    case Qt::Key_Down:
        m_scene.pan(m_tab, 0, -kKeyPan * f.window.height());
        break;
    case Qt::Key_0:
        m_scene.reset();
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    update();
}

bool GraphCanvas::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

GraphPanel::GraphPanel(Platform& platform, QWidget* parent) : QWidget(parent), m_platform(platform)
{
    m_tabs = new QTabBar(this);
    m_tabs->addTab(QString());
    m_tabs->addTab(QString());
    m_tabs->setDrawBase(false);
    m_canvas = new GraphCanvas(this);
    m_save = new QPushButton(this);
    m_copy = new QPushButton(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_copy);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    layout->addWidget(m_canvas, 1);
    layout->addLayout(buttons);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        m_canvas->setTab(index == 1 ? render::GraphTab::Complex : render::GraphTab::Real);
    });
    connect(m_save, &QPushButton::clicked, this, &GraphPanel::saveGraph);
    connect(m_copy, &QPushButton::clicked, this, &GraphPanel::copyGraph);
}

void GraphPanel::setInput(const analysis::GraphInput& input)
{
    m_canvas->scene().setInput(input);
    m_canvas->update();
}

void GraphPanel::retranslate(const config::InterfaceTexts& texts, const QString& decimalSeparator)
{
    m_tabs->setTabText(0, toQString(texts.text(config::kKeyGraphReal)));
    m_tabs->setTabText(1, toQString(texts.text(config::kKeyGraphComplex)));
    m_save->setText(toQString(texts.text(config::kKeySaveGraph)));
    m_copy->setText(toQString(texts.text(config::kKeyCopyGraph)));
    render::GraphStyle style = m_canvas->style();
    style.texts.leftSide = toQString(texts.text(config::kKeyGraphLeft));
    style.texts.rightSide = toQString(texts.text(config::kKeyGraphRight));
    style.texts.needsLetters = toQString(texts.text(config::kKeyGraphLetters));
    style.texts.noRealValues = toQString(texts.text(config::kKeyGraphNoReal));
    style.texts.error = toQString(texts.text(config::kKeyGraphError));
    style.texts.decimalSeparator = decimalSeparator;
    m_canvas->setStyle(style);
    m_filterText = texts.text(config::kKeyGraphFilter);
}

void GraphPanel::setPaper(const QColor& paper, const QFont& font)
{
    render::GraphStyle style = m_canvas->style();
    style.colours = render::GraphColours::forPaper(paper);
    style.font = font;
    m_canvas->setStyle(style);
}

void GraphPanel::saveGraph()
{
    const config::TextKey* row = config::findTextKey(config::kKeyGraphFilter);
    QStringList filters;
    QStringList suffixes;
    for (const NameFilter& filter :
         nameFilters(m_filterText, row != nullptr ? row->defaultText : std::string_view(), "png")) {
        filters.append(toQString(filter.filter));
        suffixes.append(toQString(filter.defaultSuffix));
    }
    const QString path = m_platform.chooseSaveFile(this, filters, suffixes);
    if (path.isEmpty())
        return;
    // A name that asks for neither format gets a PNG.
    const render::PictureFormat format = render::pictureFormatOf(path) == render::PictureFormat::Unknown
                                             ? render::PictureFormat::Png
                                             : render::pictureFormatOf(path);
    QSaveFile file(path);
    const bool isWritten =
        file.open(QIODevice::WriteOnly) &&
        render::writeGraph(file, format, m_canvas->size(), m_canvas->scene(), m_canvas->tab(),
                           m_canvas->style(), toQString(m_canvas->scene().input().equation)) &&
        file.commit();
    if (!isWritten)
        emit writeFailed(path);
}

void GraphPanel::copyGraph()
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(render::graphImage(m_canvas->size(), m_canvas->scene(), m_canvas->tab(),
                                          m_canvas->style(), m_canvas->devicePixelRatioF()));
    m_platform.setClipboard(std::move(data));
}

} // namespace app
