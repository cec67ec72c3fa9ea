// SPDX-License-Identifier: MIT
// Paints --plot's pictures offscreen.
#include "cli/plot_files.h"

#include "render/graph_export.h"

#include <QGuiApplication>
#include <QSaveFile>

namespace cli {

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

struct PlotWriter::State {
    int argc = 1;
    char name[16] = "tervalon-solve";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> application;
    QSize size;
    render::GraphStyle style;
};

PlotWriter::PlotWriter(int width, int height, const config::GraphTexts& texts, std::string decimalSeparator)
    : m_state(std::make_unique<State>())
{
    // No window and no display: the pictures are painted offscreen whatever the desktop is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    m_state->application = std::make_unique<QGuiApplication>(m_state->argc, m_state->argv);
    m_state->size = QSize(width, height);
    render::GraphTexts& words = m_state->style.texts;
    words.leftSide = fromUtf8(texts.leftSide);
    words.rightSide = fromUtf8(texts.rightSide);
    words.needsLetters = fromUtf8(texts.needsLetters);
    words.noRealValues = fromUtf8(texts.noRealValues);
    words.error = fromUtf8(texts.error);
    words.decimalSeparator = decimalSeparator.empty() ? QStringLiteral(".") : fromUtf8(decimalSeparator);
    m_state->style.font = QGuiApplication::font();
}

PlotWriter::~PlotWriter() = default;

bool PlotWriter::write(const std::string& file, const analysis::GraphInput& input)
{
    render::GraphScene scene;
    scene.setInput(input);
    const QString path = QString::fromLocal8Bit(file.data(), static_cast<qsizetype>(file.size()));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const bool isWritten =
        render::writeGraph(out, render::pictureFormatOf(path), m_state->size, scene, render::GraphTab::Real,
                           m_state->style, fromUtf8(input.equation));
    if (!isWritten) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace cli
