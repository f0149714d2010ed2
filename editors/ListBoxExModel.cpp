#include "ListBoxExModel.h"

const ListRow* ListBoxExModel::RowAt(int row) const
{
    if (row < 0 || row >= Count())
        return nullptr;
    return &m_rows[static_cast<size_t>(row)];
}

void ListBoxExModel::Clear()
{
    m_rows.clear();
    m_selection = -1;
    m_caret = -1;
    m_edit.reset();
}

int ListBoxExModel::AddRow(std::string_view text, uint32_t value)
{
    m_rows.push_back({std::string(text), value});
    return Count() - 1;
}

void ListBoxExModel::DeleteRow(int row)
{
    if (!RowAt(row))
        return;
    m_rows.erase(m_rows.begin() + row);
    if (m_selection == row)
        m_selection = -1;
    else if (m_selection > row)
        --m_selection;
    if (m_caret >= Count())
        m_caret = Count() - 1;
    if (m_edit && m_edit->row == row)
        m_edit.reset();
    else if (m_edit && m_edit->row > row)
        --m_edit->row;
}

void ListBoxExModel::SetRowText(int row, std::string_view text)
{
    if (RowAt(row))
        m_rows[static_cast<size_t>(row)].text = std::string(text);
}

void ListBoxExModel::Select(int row)
{
    m_selection = RowAt(row) ? row : -1;
}

void ListBoxExModel::SetCaret(int row)
{
    m_caret = RowAt(row) ? row : -1;
}

bool ListBoxExModel::BeginNewEntry()
{
    if (m_edit)
        return false;
    ListEdit edit;
    edit.kind = ListEditKind::NewEntry;
    edit.row = AddRow("", 0);
    edit.limit = kListNewEntryLimit;
    m_edit = edit;
    return true;
}

bool ListBoxExModel::BeginEditSelected()
{
    const ListRow* row = RowAt(m_selection);
    if (m_edit || !row)
        return false;
    ListEdit edit;
    edit.kind = ListEditKind::RowText;
    edit.row = m_selection;
    edit.limit = kListRowEditLimit;
    edit.digitsOnly = true;
    edit.afterPicture = RowPicture(row->value) != ListRowPicture::None;
    edit.text = row->text;
    m_edit = edit;
    return true;
}

std::optional<int> ListBoxExModel::EndEdit(ListEditEnd how, std::string_view text)
{
    if (!m_edit)
        return std::nullopt;
    const ListEdit edit = *m_edit;
    m_edit.reset();
    text = text.substr(0, kListEditReadLimit);
    if (how == ListEditEnd::Escape || text.empty()) {
        if (edit.kind == ListEditKind::NewEntry)
            DeleteRow(edit.row);
        return std::nullopt;
    }
    SetRowText(edit.row, text);
    if (how == ListEditEnd::Enter)
        Select(edit.row);
    return edit.row;
}
