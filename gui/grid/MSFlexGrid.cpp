#include "gui/grid/MSFlexGrid.h"

#include "gui/grid/ControlRegistry.h"

#include <QLibrary>
#include <QWidget>
#include <map>

// A loaded control module. Modules are never unloaded while Tavo runs: a
// control's widget holds code from its module and may outlive its wrapper
// (the parent widget deletes it later), so unloading could pull that code
// from under a live widget.
struct CMSFlexGrid::Module {
    QLibrary library;
    FlexGridCreateFn create = nullptr;
};

namespace {

const std::string kNoText;

}  // namespace

std::shared_ptr<CMSFlexGrid::Module> CMSFlexGrid::LoadModule(const QString& path)
{
    static std::map<QString, std::shared_ptr<Module>> loaded;
    if (auto found = loaded.find(path); found != loaded.end())
        return found->second;
    auto module = std::make_shared<Module>();
    module->library.setFileName(path);
    module->library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!module->library.load())
        return nullptr;
    module->create = reinterpret_cast<FlexGridCreateFn>(module->library.resolve(kFlexGridCreateEntry));
    if (!module->create)
        return nullptr;
    loaded.emplace(path, module);
    return module;
}

CMSFlexGrid::CMSFlexGrid(QObject* parent) : QObject(parent) {}

CMSFlexGrid::~CMSFlexGrid()
{
    // Like a window wrapper, the wrapper takes its control with it; the sink
    // goes first so that nothing fires into a half-destroyed wrapper.
    if (IFlexGridControl* control = Control()) {
        control->SetEventSink(nullptr);
        delete m_widget.data();
    }
}

bool CMSFlexGrid::Create(QWidget* parent, const QRect& geometry)
{
    if (IsCreated())
        return false;
    const QString path = korvel::LookupControlModule(QString::fromLatin1(kFlexGridClassId));
    if (path.isEmpty())
        return false;
    std::shared_ptr<Module> module = LoadModule(path);
    if (!module)
        return false;
    IFlexGridControl* control = module->create(kFlexGridClassId, parent);
    if (!control || !control->Widget())
        return false;
    m_module = std::move(module);
    m_control = control;
    m_widget = control->Widget();
    m_widget->setGeometry(geometry);
    m_control->SetEventSink(this);
    m_widget->show();
    return true;
}

QWidget* CMSFlexGrid::Widget() const
{
    return Control() ? m_widget.data() : nullptr;
}

int32_t CMSFlexGrid::GetRows() const
{
    return Control() ? m_control->GetRows() : 0;
}
void CMSFlexGrid::SetRows(int32_t rows)
{
    if (Control())
        m_control->SetRows(rows);
}
int32_t CMSFlexGrid::GetCols() const
{
    return Control() ? m_control->GetCols() : 0;
}
void CMSFlexGrid::SetCols(int32_t cols)
{
    if (Control())
        m_control->SetCols(cols);
}
int32_t CMSFlexGrid::GetFixedRows() const
{
    return Control() ? m_control->GetFixedRows() : 0;
}
void CMSFlexGrid::SetFixedRows(int32_t rows)
{
    if (Control())
        m_control->SetFixedRows(rows);
}
int32_t CMSFlexGrid::GetFixedCols() const
{
    return Control() ? m_control->GetFixedCols() : 0;
}
void CMSFlexGrid::SetFixedCols(int32_t cols)
{
    if (Control())
        m_control->SetFixedCols(cols);
}
int32_t CMSFlexGrid::GetRow() const
{
    return Control() ? m_control->GetRow() : 0;
}
void CMSFlexGrid::SetRow(int32_t row)
{
    if (Control())
        m_control->SetRow(row);
}
int32_t CMSFlexGrid::GetCol() const
{
    return Control() ? m_control->GetCol() : 0;
}
void CMSFlexGrid::SetCol(int32_t col)
{
    if (Control())
        m_control->SetCol(col);
}

std::string CMSFlexGrid::GetText() const
{
    return Control() ? m_control->GetText() : std::string();
}

void CMSFlexGrid::SetText(const std::string& text)
{
    if (Control())
        m_control->SetText(text);
}

const std::string& CMSFlexGrid::GetTextMatrix(int32_t row, int32_t col) const
{
    return Control() ? m_control->GetTextMatrix(row, col) : kNoText;
}

void CMSFlexGrid::SetTextMatrix(int32_t row, int32_t col, const std::string& text)
{
    if (Control())
        m_control->SetTextMatrix(row, col, text);
}

void CMSFlexGrid::SetColAlignment(int32_t col, int16_t alignment)
{
    if (Control())
        m_control->SetColAlignment(col, alignment);
}

int32_t CMSFlexGrid::GetColWidth(int32_t col) const
{
    return Control() ? m_control->GetColWidth(col) : 0;
}

void CMSFlexGrid::SetColWidth(int32_t col, int32_t twips)
{
    if (Control())
        m_control->SetColWidth(col, twips);
}

void CMSFlexGrid::SetCurrentCellColor(uint32_t colorBgr)
{
    if (Control())
        m_control->SetCurrentCellColor(colorBgr);
}

uint32_t CMSFlexGrid::GetCellColor(int32_t row, int32_t col) const
{
    return Control() ? m_control->GetCellColor(row, col) : 0;
}
