#include "gui/editors/key_view.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>

#include "core/fields/edit_session.h"
#include "core/fields/editor_tables.h"
#include "core/fields/field_registry.h"
#include "core/base/text_ids.h"
#include "gui/widgets/child_frame.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

// Where the marks sit on the picture: key 1, key 2 and the display above them.
constexpr QRect kMarks[] = {{47, 100, 28, 14}, {84, 100, 28, 14}, {45, 78, 69, 14}};

}  // namespace

// ---------------------------------------------------------------------------
// The picture

KeyPicture::KeyPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("KeyPicture"));
    setFixedSize(sizeHint());
}

void KeyPicture::SetMark(int mark) {
    if (mark == mark_) return;
    mark_ = mark;
    update();
}

void KeyPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(1, 1);
    // The desktop's palette paints the radio, so a high-contrast theme
    // carries over to the picture.
    const QPalette& pal = palette();
    const QColor body = pal.color(QPalette::Mid), edge = pal.color(QPalette::Shadow),
                 key = pal.color(QPalette::Button), text = pal.color(QPalette::ButtonText);
    // Antenna and the two knobs on top.
    p.setPen(Qt::NoPen);
    p.setBrush(edge);
    p.drawRoundedRect(QRectF(28, 2, 14, 58), 6, 6);
    p.drawRoundedRect(QRectF(62, 34, 20, 28), 4, 4);
    p.drawRoundedRect(QRectF(92, 40, 16, 22), 4, 4);
    // The body.
    p.setBrush(body);
    p.setPen(QPen(edge, 2));
    p.drawRoundedRect(QRectF(18, 60, 106, 234), 14, 14);
    // Display strip above the keys, the two keys.
    p.setPen(QPen(edge, 1));
    p.setBrush(pal.color(QPalette::Base));
    p.drawRoundedRect(QRectF(kMarks[2]), 3, 3);
    p.setBrush(key);
    p.drawRoundedRect(QRectF(kMarks[0]), 4, 4);
    p.drawRoundedRect(QRectF(kMarks[1]), 4, 4);
    p.setPen(text);
    QFont small = font();
    small.setPixelSize(9);
    small.setBold(true);
    p.setFont(small);
    p.drawText(QRectF(kMarks[0]), Qt::AlignCenter, QStringLiteral("1"));
    p.drawText(QRectF(kMarks[1]), Qt::AlignCenter, QStringLiteral("2"));
    // Speaker grille and microphone.
    p.setPen(QPen(edge, 2));
    for (int y = 132; y <= 228; y += 8) p.drawLine(QPointF(38, y), QPointF(104, y));
    p.drawLine(QPointF(58, 268), QPointF(84, 268));
    // The mark: the marked part drawn over in the highlight colour, a key's
    // number again on it in the highlighted text colour.
    if (mark_ >= 1 && mark_ <= 3) {
        const QRectF r = QRectF(kMarks[mark_ - 1]).adjusted(-2, -2, 2, 2);
        p.setPen(QPen(edge, 2));
        p.setBrush(pal.color(QPalette::Highlight));
        p.drawRoundedRect(r, 5, 5);
        if (mark_ <= 2) {
            p.setPen(pal.color(QPalette::HighlightedText));
            p.drawText(r, Qt::AlignCenter, QString::number(mark_));
        }
    }
}

// ---------------------------------------------------------------------------
// The two views

void OpenKeyPair(EditorHost& host, EditorView& active) {
    const bool image = active.ViewClass() == "CKeyImageView";
    const std::string other = image ? "CKeyView" : "CKeyImageView";
    if (host.FindOpenEditor(other)) return;
    EditorView* opened = host.OpenEditor(other);
    if (!opened) return;
    auto* mine = qobject_cast<QMdiSubWindow*>(active.parentWidget());
    auto* theirs = qobject_cast<QMdiSubWindow*>(opened->parentWidget());
    if (mine && theirs && mine->mdiArea()) {
        // The picture stands right of the key grid, moved left until it fits.
        QMdiSubWindow* grid = image ? theirs : mine;
        QMdiSubWindow* picture = image ? mine : theirs;
        const int areaWidth = grid->mdiArea()->viewport()->width();
        if (grid->isMaximized()) {
            picture->move(0, 0);
        } else {
            picture->resize(picture->sizeHint());
            const int x = std::min(grid->geometry().right() + 1, std::max(0, areaWidth - picture->width()));
            picture->move(x, grid->geometry().top());
        }
        // Beside a grid low in the area the picture would reach past its
        // bottom: it moves up until it fits.
        if (auto* frame = qobject_cast<CChildFrame*>(picture)) frame->FitIntoArea();
    }
    host.OpenEditor(active.ViewClass());  // the one asked for stays active
}

CKeyImageView::CKeyImageView(EditorHost& host, QWidget* parent) : EditorView("CKeyImageView", parent), host_(host) {
    picture_ = new KeyPicture(this);
    picture_->setAccessibleName(WithoutMnemonic(LangText(host_.Language(), tid::kEditorKeyImage)));
    picture_->setAccessibleDescription(LangText(host_.Language(), tid::kAccNoKey));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(picture_, 0, Qt::AlignHCenter);
    setWindowTitle(WithoutMnemonic(LangText(host_.Language(), tid::kEditorKeyImage)));
}

void CKeyImageView::showEvent(QShowEvent* event) {
    EditorView::showEvent(event);
    if (opened_) return;
    opened_ = true;
    QTimer::singleShot(0, this, [this] { OpenKeyPair(host_, *this); });
}

void CKeyImageView::ShowMark(int mark, const QString& spoken) {
    picture_->SetMark(mark);
    if (picture_->accessibleDescription() != spoken) picture_->setAccessibleDescription(spoken);
}

std::optional<std::uint32_t> CKeyImageView::HelpContext(bool& advanced) const {
    advanced = false;
    return kKeyHelp;
}

CKeyView::CKeyView(EditorHost& host, QWidget* parent)
    : GridEditorView(host, "CKeyView", KeyTable(), [&host] { return KeyGridColumns(host.Session().Context()); },
                     kKeyHelp, GridOptions{false, false, true, true}, parent) {
    connect(grid_, &RecordGridView::currentRowChanged, this, [this](int row) { ShowMark(row + 1); });
    connect(grid_, &RecordGridView::gridLeft, this, [this] { ShowMark(0); });
}

void CKeyView::ShowMark(int mark) {
    auto* image = dynamic_cast<CKeyImageView*>(host_.FindOpenEditor("CKeyImageView"));
    if (!image) return;
    const EditContext& ctx = host_.Session().Context();
    const RecordGridModel* model = grid_->GridModel();
    const std::string spoken = mark >= 1 && mark <= model->rowCount()
                                   ? GridRowSpoken(ctx, model->Table(), model->Columns(), mark - 1)
                                   : ctx.Text(tid::kAccNoKey);
    image->ShowMark(mark, QString::fromUtf8(spoken.c_str()));
}

void CKeyView::showEvent(QShowEvent* event) {
    GridEditorView::showEvent(event);
    if (opened_) return;
    opened_ = true;
    QTimer::singleShot(0, this, [this] {
        OpenKeyPair(host_, *this);
        ShowMark(grid_->hasFocus() ? grid_->CurrentRow() + 1 : 0);
    });
}

std::optional<std::uint32_t> CKeyView::HelpContext(bool& advanced) const {
    advanced = false;
    QWidget* focus = QApplication::focusWidget();
    // In an open cell's drop-down list, the list's own help.
    if (focus && focus != grid_ && grid_->isAncestorOf(focus)) return kKeyListHelp;
    return GridEditorView::HelpContext(advanced);
}

}  // namespace vrm
