#include "client/reports/suggested_order_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "client/ui/dialog_buttons.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/text_1252.h"
#include "common/text_field.h"

namespace stk::client {

namespace {

constexpr const char* kExplanationText =
    "Click OK to view a report showing the items and quantities that Stockavelle suggests you order from within "
    "a specific category of inventory. Leave inventory category blank if you want to generate a suggested order "
    "from all inventory categories. Enter a dollar value to specify order size. Leave order value blank if you "
    "want to view a minimum order.";

QLineEdit* text_edit(QWidget* parent, int id, const std::string& text) {
    auto* e = new QLineEdit(from_1252(text), parent);
    e->setObjectName(QString::number(id));
    e->setMaxLength(SuggestedOrderDialog::kMaxText);
    return e;
}

}  // namespace

SuggestedOrderDialog::SuggestedOrderDialog(QWidget* parent, const SuggestedOrderInputs& last) : QDialog(parent) {
    setWindowTitle(QStringLiteral("View a Suggested Order"));
    setObjectName(QStringLiteral("dialog144"));
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QPlainTextEdit(QString::fromLatin1(kExplanationText), this);
    explanation->setObjectName(QString::number(kExplanation));
    explanation->setReadOnly(true);
    explanation->setFocusPolicy(Qt::NoFocus);
    explanation->setFixedHeight(explanation->fontMetrics().lineSpacing() * 6 + 12);
    layout->addWidget(explanation);

    auto* form = new QFormLayout;
    category_ = text_edit(this, kCategory, last.category);
    order_value_ = text_edit(this, kOrderValue, last.order_value);
    form->addRow(QStringLiteral("Inventory Category"), category_);
    form->addRow(QStringLiteral("Approximate Order Value"), order_value_);
    layout->addLayout(form);

    add_ok_cancel(this, layout, kOk, kCancel);
    resize(420, sizeHint().height());
    category_->setFocus();
}

SuggestedOrderInputs SuggestedOrderDialog::inputs() const {
    return {trimmed(to_1252(category_->text())), trimmed(to_1252(order_value_->text()))};
}

bool ask_suggested_order(QWidget* parent, SuggestedOrderInputs* inputs) {
    SuggestedOrderDialog dialog(parent, *inputs);
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return false;
    *inputs = dialog.inputs();
    return true;
}

}  // namespace stk::client
