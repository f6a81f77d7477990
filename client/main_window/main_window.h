// The main window: the current invoice, the item-entry fields and the inventory list in one top-level window.
// It owns the controls, their placement, the menu and the type-ahead timer; what the invoice and inventory
// commands do is attached from outside through the hooks and command handlers below. Its definitions are
// spread by purpose: main_window.cpp (commands, type-ahead, events), main_window_controls.cpp (the controls and
// their placement table), main_window_layout.cpp (placing them and fitting the caption font),
// main_window_menu.cpp and main_window_toolbar.cpp.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFont;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;

namespace stk::client {

class Toolbar;

// The smallest client size the controls are laid out for; below it they keep this placement and are clipped.
inline constexpr int kLayoutMinWidth = 738;
inline constexpr int kLayoutMinHeight = 440;
inline constexpr int kTypeAheadDelayMs = 750;
// Height of the band above the invoice header that belongs to the toolbar.
inline constexpr int kToolbarBandHeight = 55;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- Controls -------------------------------------------------------------------------------------
    // Every control by its id (control_ids.h); nullptr for an unknown id.
    QWidget* control(int id) const;
    // Edits 400..418 (unit cost and tax percent have ids 417 and 418 of our own).
    QLineEdit* edit(int id) const;
    // Push buttons 100..105.
    QPushButton* button(int id) const;
    // Menu commands by id (40001...).
    QAction* action(int id) const;

    QCheckBox* inventory_item_check() const { return inventory_item_; }  // 200
    QComboBox* payment_list() const { return payment_; }                 // 300
    QComboBox* status_list() const { return status_; }                   // 301
    QTreeView* inventory_list() const { return inventory_list_; }        // 501; the inventory code sets its model
    QTreeView* invoice_lines() const { return invoice_lines_; }          // 502; the invoice code sets its model
    QLabel* change_value() const { return change_value_; }
    QLabel* subtotal_value() const { return subtotal_value_; }
    QLabel* tax_value() const { return tax_value_; }
    QLabel* total_value() const { return total_value_; }
    // The band above y = 55 where the toolbar lives.
    QWidget* toolbar_band() const { return toolbar_band_; }
    // The widget whose client area the placements are measured in.
    QWidget* client_area() const { return client_; }
    // The drawn toolbar in the band. It paints on the client area and takes the client area's own mouse
    // messages; the band widget above lets the mouse through to it.
    Toolbar* toolbar() const { return toolbar_; }

    // ---- State shared with the invoice and inventory code ---------------------------------------------
    // True while the program fills the invoice fields: their change notifications are then ignored. The
    // invoice workspace raises and lowers it (through SaleWidgets::filling_fields).
    bool filling_fields = false;
    // Text of the last type-ahead search. (View > Refresh and payment changes search again with the
    // inventory pane's own copy of it.)
    QString last_search_text;

    // ---- Hooks (unset hooks do nothing) ---------------------------------------------------------------
    // "Add to Invoice": returns 1 when the line was added; the window then clears the entry fields.
    std::function<int()> on_add_to_invoice;
    // An invoice-field edit (400, 401, 402, 404, 406, 407, 408, 412, 414) changed while filling_fields is
    // false: save the field; 0 puts the focus back into the edit. Not called for an emptied customer name
    // that the user agreed to clear (on_clear_customer then runs).
    std::function<int(int id)> on_save_field;
    // Customer name emptied and string 36 answered Yes.
    std::function<void()> on_clear_customer;
    // User picked a payment (index into UNPAID, CASH, ...).
    std::function<void(int index)> on_payment_selected;
    // User picked a status while filling_fields is false; 0 focuses the status list.
    std::function<int(int index)> on_status_selected;
    // The type-ahead timer fired: search the inventory for this text (also emitted as type_ahead_search).
    std::function<void(const QString& text)> on_inventory_search;
    // Start-up: load invoice `index` and record it in the history; 1 on success.
    std::function<int(int index)> on_load_invoice;
    // Start-up and File > New Invoice: create a new invoice and make it current; 1 on success.
    std::function<int()> on_new_invoice;
    // Toolbar buttons 1 and 2: move back and forth in the navigation history.
    std::function<void()> on_previous_invoice;
    std::function<void()> on_next_invoice;
    // Toolbar button 5: the Invoices window.
    std::function<void()> on_invoices_window;
    // Toolbar button 6: print the current invoice with the data set's default receipt layout.
    std::function<void()> on_print_invoice;
    // The window is closing: give back what the client holds for its data set.
    std::function<void()> on_close;

    // ---- What the window reads from the running client (unset: empty text) ----------------------------
    // The data set's tax percentage, put back into "Tax %" when the entry fields are cleared.
    std::function<QString()> default_tax_percent;
    // The help file View > View Help opens; string 11 names it when it is not a file.
    std::function<QString()> help_file;
    // The company this copy is registered to, for the About box.
    std::function<QString()> registered_company;

    // Every other button, menu and context-menu command by id. The window handles 101, 103, 40002,
    // 40004, 40008 and 40009 itself; a handler set here for one of those replaces the built-in one.
    void set_command_handler(int id, std::function<void()> handler);
    // Runs the command as if its button or menu item was used; false when nothing handles it.
    bool run_command(int id);
    // Runs a toolbar button's command (1 previous, 2 next, 3 new invoice, 4 refresh, 5 Invoices window,
    // 6 print), as a left click on button `index` does.
    void run_toolbar_command(int index, int command);

    // ---- Operations ----------------------------------------------------------------------------------
    // Empties the entry fields; `always` also empties item number and description when already empty
    // (so "Add to Invoice" re-arms the type-ahead search even then).
    void clear_entry_fields(bool always);
    // (Re)starts the 750 ms type-ahead timer.
    void arm_type_ahead();
    bool search_pending() const;
    QTimer* type_ahead_timer() const { return type_ahead_timer_; }
    // The text the type-ahead search would use now: item number, or description when that is empty.
    QString type_ahead_text() const;
    // Lays the controls out for a client area of this size (raised to the 738 x 440 floor).
    void layout_controls(int width, int height);
    // Enables View > Reports > Sales.
    void set_sales_report_enabled(bool enabled);
    void open_help();
    void show_about();
    // Gives the controls the largest font, at most `largest_pixel_size` pixels, at which every caption of a
    // label, button, check box and drop-down list fits the placement it was drawn for. The placements were
    // made for one compact face; faces differ from desktop to desktop, the placements do not.
    void fit_caption_font(int largest_pixel_size = kLargestCaptionPixels);
    static constexpr int kLargestCaptionPixels = 11;
    static constexpr int kSmallestCaptionPixels = 7;

signals:
    void type_ahead_search(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build_controls();
    void build_captions();
    void build_entry_controls();
    void build_lists();
    void build_footer_controls();
    void set_tab_order();
    // Each creates a control on the client area and records its placement (and its id, where it has one).
    QLabel* add_caption(const char* text, int x, int y, int w, int h, int anchor);
    QLabel* add_value(int x, int y, int w, int h, const char* name);
    QLineEdit* add_edit(int id, int x, int y, int w, int h, int limit, int anchor, bool upper_case = false,
                        bool right_aligned = false);
    QPushButton* add_button(int id, const char* text, int x, int y, int w, int h);
    QTreeView* add_list(int id);
    QComboBox* add_combo(int id, std::initializer_list<const char*> items, int x, int y);
    void build_menu();
    void connect_controls();
    void fire_type_ahead();
    void invoice_field_changed(int id);
    bool captions_fit(const QFont& font) const;
    void build_toolbar();

    QWidget* client_ = nullptr;
    QWidget* toolbar_band_ = nullptr;
    std::map<int, QWidget*> controls_;
    std::map<int, QLineEdit*> edits_;
    std::map<int, QPushButton*> buttons_;
    std::map<int, QAction*> actions_;
    std::map<int, std::function<void()>> handlers_;
    // How a placement follows the client area's width W and height H.
    enum Anchor {
        kFixed = 0,
        kBottom = 1,         // bottom group: y from H
        kBottomRight = 2,    // x from W, y from H
        kInventoryPane = 3,  // the whole width, from 178 down to H - 256
        kLinesPane = 4,      // the whole width, 191 high from H - 255
    };
    // Every placed control with its placement rule; layout_controls applies them.
    struct Placed {
        QWidget* widget;
        int x, y, w, h;
        int anchor;
    };
    std::vector<Placed> placed_;
    // The labels with fixed captions (not the value labels), for fitting the font.
    std::vector<QLabel*> captions_;
    QCheckBox* inventory_item_ = nullptr;
    QComboBox* payment_ = nullptr;
    QComboBox* status_ = nullptr;
    QTreeView* inventory_list_ = nullptr;
    QTreeView* invoice_lines_ = nullptr;
    QLabel* change_value_ = nullptr;
    QLabel* subtotal_value_ = nullptr;
    QLabel* tax_value_ = nullptr;
    QLabel* total_value_ = nullptr;
    QMenu* reports_menu_ = nullptr;
    QTimer* type_ahead_timer_ = nullptr;
    Toolbar* toolbar_ = nullptr;
};

}  // namespace stk::client
