#include "client/ui/strings.h"

#include <map>

namespace stk::client {

QString string_text(int n) {
    static const std::map<int, const char*> table = {
        {2, "Are you sure you want to permanently remove the selected item(s)?"},
        {5, "Please increase maximum size of inventory database and restart Stockavelle. Please see stockavelle "
            "client settings.txt and stockavelle server settings.txt."},
        {7, "Please enter a description and unit cost."},
        {8, "The invoice is marked paid. Do you want to modify the invoice?"},
        {9, "Do you want to return the selected item(s) to inventory?"},
        {11, "Documentation appears to be missing.\r\n"},
        {16, "Stockavelle was unable to save contacts. The destination drive may be full, or the destination file "
             "may be inaccessible or write protected."},
        {18, "Do you want to apply sales tax to the item(s) you are adding to the invoice?"},
        {19, "The invoice has been modified, possibly by another user. The invoice will be reloaded."},
        {20, "The item has been modified, possibly by another user. The item will be reloaded."},
        {21, "An item with the same item number already exists in inventory."},
        {22, "Please enter an item number, description, and unit cost."},
        {23, "Do you want to backorder the item(s) you are adding to the invoice?"},
        {24, "Do you want to update the selected backorder?"},
        {26, "Please enter a name."},
        {27, "The invoice contains customer information. Do you want to replace current information with the "
             "selected contact?"},
        {28, "The quantity backordered for the customer can not be greater than the total quantity the customer is "
             "purchasing."},
        {33, "Stockavelle was unable to open file. The file may be inaccessible or improperly formatted."},
        {35, "Please enter a number for your first invoice. Enter the number in the field labeled \"Invoice "
             "Number\"."},
        {36, "Do you want to remove all customer information from the invoice?"},
        {37, "Please check Stockavelle Server."},
        {38, "Stockavelle was unable to update the selected invoice backorder. The invoice may have been modified by "
             "another user."},
        {39, "Stockavelle was unable to open layout."},
        {40, "Your contacts database is full."},
        {41, "Stockavelle was unable to reserve required memory. System memory and/or hard disk space might be "
             "low."},
        {42, "Stockavelle was unable to open contacts database. The source file may be inaccessible or improperly "
             "formatted."},
        {43, "Stockavelle Server must be running. Stockavelle will automatically load Stockavelle Server."},
        {44, "Stockavelle was unable to save your company information in the selected location. The location might "
             "already contain company information or the destination drive might be full or inaccessible."},
    };
    auto it = table.find(n);
    return it == table.end() ? QString() : QString::fromLatin1(it->second);
}

MsgAnswer show_string(QWidget* parent, int n, MsgIcon icon, MsgButtons buttons, MsgAnswer default_answer,
                      const QString& suffix) {
    return DialogSeam::message(parent, string_text(n) + suffix, icon, buttons, default_answer);
}

void show_text(QWidget* parent, const char* text, MsgIcon icon, const QString& suffix) {
    DialogSeam::message(parent, QString::fromLatin1(text) + suffix, icon, MsgButtons::Ok, MsgAnswer::Ok);
}

bool ask_string(QWidget* parent, int n, bool yes_is_default) {
    return show_string(parent, n, MsgIcon::Question, MsgButtons::YesNo,
                       yes_is_default ? MsgAnswer::Yes : MsgAnswer::No) == MsgAnswer::Yes;
}

}  // namespace stk::client
