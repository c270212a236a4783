#include "controls/singleton.h"
#include "controls/sortable_list_view.h"
#include "controls/dialog.h"
#include "test_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using controls::CSortableListView;

class CListDlg : public controls::DialogImpl<CListDlg> {
public:
    CListDlg() : DialogImpl(IDD_LIST) {}
    CSortableListView list;
    int columnClicks = 0;

    static const controls::MessageTable<CListDlg>& Messages() {
        static const controls::MessageTable<CListDlg> table = {
            controls::OnMessage(WM_INITDIALOG, &CListDlg::OnInitDialog),
            controls::OnNotify(IDC_LIST, LVN_COLUMNCLICK, &CListDlg::OnColumnClick),
        };
        return table;
    }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM) {
        list.SubclassDlgItem(IDC_LIST, hwnd());
        return TRUE;
    }
    LRESULT OnColumnClick(NMHDR*) {
        ++columnClicks;
        return 0;
    }
};

class SortableList : public ::testing::Test {
protected:
    void SetUp() override {
        ::InitCommonControls();
        ASSERT_TRUE(dialog.Create(nullptr));
        list = dialog.list.hwnd();
        ASSERT_NE(list, nullptr);
        AddColumn(0, "Name");
        AddColumn(1, "Kind");
        AddRow("cherry", "fruit 2", 30);
        AddRow("apple", "fruit 3", 10);
        AddRow("Banana", "fruit 1", 20);
        dialog.list.SetComparerForAllColumns(
            controls::Singleton<controls::TextComparerCI>::Instance());
    }
    void AddColumn(int index, const char* title) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<char*>(title);
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&column));
    }
    void AddRow(const char* name, const char* kind, LPARAM data) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = const_cast<char*>(name);
        item.lParam = data;
        const int row = static_cast<int>(
            ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetText(row, 1, kind);
    }
    void SetText(int row, int column, const char* text) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = const_cast<char*>(text);
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            char text[64] = {};
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(&item));
            texts.push_back(text);
        }
        return texts;
    }
    // A click on a header as the list reports it to its dialog.
    void ClickHeader(int column) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = IDC_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        ::SendMessage(dialog.hwnd(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&click));
    }
    // "up", "down" or "" as the header shows it.
    std::string Arrow(int column) const {
        HDITEM item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(ListView_GetHeader(list), column, &item);
        if (CSortableListView::CommonControlsVersion() >= 0x60000) {
            return (item.fmt & 0x400) ? "up" : (item.fmt & 0x200) ? "down" : "";
        }
        if (!(item.fmt & HDF_BITMAP)) {
            return "";
        }
        item.mask = HDI_BITMAP;
        Header_GetItem(ListView_GetHeader(list), column, &item);
        HBITMAP up = ::LoadBitmap(::GetModuleHandle(nullptr), MAKEINTRESOURCE(133));
        BITMAP shown{}, upInfo{};
        ::GetObject(item.hbm, sizeof shown, &shown);
        ::GetObject(up, sizeof upInfo, &upInfo);
        ::DeleteObject(up);
        return item.hbm ? (shown.bmWidth == upInfo.bmWidth ? "bitmap" : "?") : "no bitmap";
    }

    CListDlg dialog;
    HWND list = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(SortableList, SameHeaderTwiceFlipsAndAnotherHeaderStartsAscending) {
    ClickHeader(0);
    EXPECT_EQ(Column(0), (Names{"apple", "Banana", "cherry"}));
    EXPECT_EQ(dialog.list.sortedColumn(), 0);
    EXPECT_EQ(dialog.list.direction(), controls::kSortAscending);
    EXPECT_NE(Arrow(0), "");

    ClickHeader(0);
    EXPECT_EQ(Column(0), (Names{"cherry", "Banana", "apple"}));
    EXPECT_EQ(dialog.list.direction(), controls::kSortDescending);

    ClickHeader(1);
    EXPECT_EQ(Column(1), (Names{"fruit 1", "fruit 2", "fruit 3"}));
    EXPECT_EQ(Column(0), (Names{"Banana", "cherry", "apple"}));
    EXPECT_EQ(dialog.list.sortedColumn(), 1);
    EXPECT_EQ(dialog.list.direction(), controls::kSortAscending);
    EXPECT_EQ(Arrow(0), "");
    EXPECT_NE(Arrow(1), "");
    // The dialog's own table still sees every click.
    EXPECT_EQ(dialog.columnClicks, 3);
}

TEST_F(SortableList, HeaderArrowsPointTheWayOfTheSort) {
    if (CSortableListView::CommonControlsVersion() < 0x60000) {
        // Common controls 5 (no manifest): a bitmap shows the way.
        ClickHeader(0);
        EXPECT_EQ(Arrow(0), "bitmap");
        return;
    }
    ClickHeader(0);
    EXPECT_EQ(Arrow(0), "up");
    ClickHeader(0);
    EXPECT_EQ(Arrow(0), "down");
}

TEST_F(SortableList, RequestedDirectionAndSortingAfterRowsChanged) {
    ASSERT_TRUE(dialog.list.SortByColumn(0, controls::kSortAscending));
    SetText(0, 0, "zebra");  // apple becomes zebra, still at the top
    AddRow("Avocado", "fruit 4", 40);
    ASSERT_TRUE(dialog.list.SortByColumn(0, controls::kSortAscending));
    EXPECT_EQ(Column(0), (Names{"Avocado", "Banana", "cherry", "zebra"}));
    EXPECT_EQ(dialog.list.direction(), controls::kSortAscending);

    ASSERT_TRUE(dialog.list.SortByColumn(0, controls::kSortDescending));
    EXPECT_EQ(Column(0), (Names{"zebra", "cherry", "Banana", "Avocado"}));
    ASSERT_TRUE(dialog.list.SortByColumn(0, controls::kSortToggle));
    EXPECT_EQ(dialog.list.direction(), controls::kSortAscending);

    // Another column starts ascending whatever was asked for.
    ASSERT_TRUE(dialog.list.SortByColumn(1, controls::kSortDescending));
    EXPECT_EQ(dialog.list.direction(), controls::kSortAscending);
    EXPECT_EQ(Column(1), (Names{"fruit 1", "fruit 2", "fruit 3", "fruit 4"}));
}

TEST_F(SortableList, ColumnWithoutComparerDoesNotSort) {
    dialog.list.SetComparer(1, nullptr);
    ClickHeader(1);
    EXPECT_EQ(Column(0), (Names{"cherry", "apple", "Banana"}));
    EXPECT_EQ(dialog.list.sortedColumn(), -1);
    EXPECT_FALSE(dialog.list.SortByColumn(5, controls::kSortAscending));
    EXPECT_EQ(dialog.list.ColumnCount(), 2);
}

// Compares rows by their item data, so the contexts must carry each row's own data.
class ByData : public controls::BaseTextComparer {
public:
    int Compare(const controls::SortContext& a, const controls::SortContext& b) const override {
        return static_cast<int>(a.data - b.data);
    }
};

TEST_F(SortableList, ComparerSeesEachRowsItemData) {
    ByData byData;
    dialog.list.SetComparer(1, &byData);
    ClickHeader(1);
    EXPECT_EQ(Column(0), (Names{"apple", "Banana", "cherry"}));  // data 10, 20, 30
    ClickHeader(1);
    EXPECT_EQ(Column(0), (Names{"cherry", "Banana", "apple"}));
}

TEST_F(SortableList, RowsSharingTheirItemDataSortAndKeepIt) {
    for (int row = 0; row < 3; ++row) {
        LVITEM item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = 7;
        ListView_SetItem(list, &item);
    }
    ClickHeader(0);
    EXPECT_EQ(Column(0), (Names{"apple", "Banana", "cherry"}));
    for (int row = 0; row < 3; ++row) {
        LVITEM item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ListView_GetItem(list, &item);
        EXPECT_EQ(item.lParam, 7) << row;
    }
}

TEST(TextComparerCI, IgnoresCaseAndIsOneInstance) {
    const auto& comparer = controls::Singleton<controls::TextComparerCI>::Instance();
    EXPECT_EQ(&comparer, &controls::Singleton<controls::TextComparerCI>::Instance());
    controls::SortContext a, b;
    a.text = "BANANA";
    b.text = "banana";
    EXPECT_EQ(comparer.Compare(a, b), 0);
    a.text = "apple";
    EXPECT_LT(comparer.Compare(a, b), 0);
    EXPECT_GT(comparer.Compare(b, a), 0);
}

}  // namespace
