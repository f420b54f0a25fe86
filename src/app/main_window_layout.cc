// Building the window: every control with its caption, hint, design place and
// tab order, and one place where the handlers are wired to their signals.
// Places are laid out for an 11-pixel font; when the platform's font needs
// more room the whole layout grows by one factor, so that no caption is
// clipped and the proportions stay.
#include <QApplication>
#include <QFont>
#include <algorithm>
#include <cmath>

#include "app/main_window.h"
#include "app/product.h"

namespace shifrodel {
namespace {

constexpr QSize kDesignClientSize(418, 395);

int Scaled(int design, double scale) { return static_cast<int>(std::lround(design * scale)); }

// Scales the edges, so that neighbours that touch in the design still touch.
QRect Scaled(const QRect& design, double scale) {
  const int left = Scaled(design.x(), scale);
  const int top = Scaled(design.y(), scale);
  return QRect(left, top, Scaled(design.x() + design.width(), scale) - left,
               Scaled(design.y() + design.height(), scale) - top);
}

// The room a control's content needs: a button's or box's whole caption, an
// edit's line of text (its text scrolls, so only its height counts), the
// "..." of a flat button.
QSize NeededSize(const QWidget* control) {
  if (qobject_cast<const QLineEdit*>(control)) return QSize(0, control->sizeHint().height());
  if (const auto* flat = qobject_cast<const QToolButton*>(control)) {
    const QFontMetrics metrics = flat->fontMetrics();
    return QSize(metrics.horizontalAdvance(flat->text()) + 4, metrics.height());
  }
  return control->sizeHint();
}

}  // namespace

void TfmMain::CreateControls() {
  Label2_ =
      AddLabel(this, "Label2", QStringLiteral("Папка для обработки (откуда копировать)"), {8, 8});
  Label2_->setToolTip(QStringLiteral("Папка, из которой будут конвертироваться файлы"));
  edDirSrc_ =
      AddEdit("edDirSrc", QStringLiteral("C:\\Мои документы\\Мои рисунки"), {8, 24, 377, 21});
  sbDirSrc_ = AddFolderButton("sbDirSrc", {384, 24, 25, 22});

  btRun_ = AddButton("btRun", QStringLiteral("&Начать!"),
                     QStringLiteral("Начать конвертацию в JPEG"), {8, 56, 89, 25});
  QFont bold = btRun_->font();
  bold.setBold(true);
  btRun_->setFont(bold);
  btRun_->setDefault(true);
  btStop_ = AddButton("btStop", QStringLiteral("&Стоп"),
                      QStringLiteral("Остановить процесс конвертации"), {8, 56, 89, 25});
  btRepack_ = AddButton("btRepack", QStringLiteral("&Перепаковка TIFF"),
                        QStringLiteral("Перепаковка TIFF файлов в папке с лучшим сжатием"),
                        {104, 56, 105, 25});
  btStopRepack_ = AddButton("btStopRepack", QStringLiteral("&Стоп"),
                            QStringLiteral("Остановить процесс перепаковки"), {152, 56, 89, 25});
  btClose_ = AddButton("btClose", QStringLiteral("В&ыход"), QStringLiteral("Выход из программы"),
                       {224, 56, 89, 25});
  btAbout_ = AddButton("btAbout", QStringLiteral("&О программе"),
                       QStringLiteral("Информация о программе и авторе"), {320, 56, 89, 25});
  btStop_->hide();
  btStopRepack_->hide();

  cbPref_ = AddCheckBox(
      "cbPref", QStringLiteral("&Добавить перед описанием"),
      QStringLiteral("Описание добавляется перед исходным местоположением файла в descript.ion"),
      {8, 87, 185, 17});
  lbFreeSpace_ =
      AddLabel(this, "lbFreeSpace", QStringLiteral("Свободное место на диске"), {200, 87});
  edPref_ = AddEdit("edPref", QStringLiteral("DVD#001"), {8, 104, 154, 21});
  CreateBand();

  Label1_ =
      AddLabel(this, "Label1", QStringLiteral("Результирующая папка (куда копировать)"), {8, 176});
  Label1_->setToolTip(QStringLiteral("Папка, в которую копируются готовые файлы"));
  edDirDest_ = AddEdit("edDirDest", QStringLiteral("G:\\Photo"), {8, 192, 377, 21});
  sbDirDest_ = AddFolderButton("sbDirDest", {384, 192, 25, 22});
  cbCopyOther_ =
      AddCheckBox("cbCopyOther", QStringLiteral("Копировать файлы без шифра в папку \"Разное\""),
                  QString(), {8, 223, 321, 17});
  cbCopyOther_->setChecked(true);
  edDirDestOther_ =
      AddEdit("edDirDestOther", QStringLiteral("G:\\Photo\\Разное"), {8, 240, 377, 21});
  sbDirDestOther_ = AddFolderButton("sbDirDestOther", {384, 240, 25, 22});

  lbPack_ = AddLabel(this, "lbPack", QStringLiteral("Сжатие"), {8, 272});
  lbPack_->setToolTip(
      QStringLiteral("Выберите сжатие для JPEG файлов\nОптимальное сжатие - 75%\n"
                     "Минимальное - 30%\nМаксимальное - 95%"));
  edPack_ = AddEdit("edPack", QStringLiteral("75%"), {56, 272, 49, 21});
  udPack_ = new UpDownArrows(this);
  udPack_->setObjectName("udPack");
  Place(udPack_, {104, 272, 16, 24});

  CreateGroupBoxes();

  cbExitAfterConvert_ = AddCheckBox(
      "cbExitAfterConvert", QStringLiteral("Выйти из программы после завершения"),
      QStringLiteral("Выйти из программы после завершения конвертации"), {8, 360, 281, 17});
  cbExitAfterConvertGood_ =
      AddCheckBox("cbExitAfterConvertGood", QStringLiteral("Если не было ошибок"),
                  QStringLiteral("Выйти из программы, если не было ошибок"), {24, 376, 209, 17});
  cbExitAfterConvertGood_->setChecked(true);
  cbExitAfterConvertGood_->setEnabled(false);

  ApplyLayout();
  SetTabOrder();
}

// The band under the prefix: the program's name and version and what it is for.
void TfmMain::CreateBand() {
  const QStringList lines = BandLines();
  QLabel* name = AddLabel(this, "Label7", lines[0], {8, 136});
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  AddLabel(this, "Label8", lines[1], {8, 154});
}

void TfmMain::CreateGroupBoxes() {
  gbJPEG_ = new QGroupBox(QStringLiteral(" Обработка JPEG файлов "), this);
  gbJPEG_->setObjectName("gbJPEG");
  Place(gbJPEG_, {8, 296, 185, 57});
  rbJPEGConvert_ =
      AddRadioButton(gbJPEG_, "rbJPEGConvert", QStringLiteral("Конвертировать"),
                     QStringLiteral("Конвертировать JPEG файлы в любом случае"), {8, 16, 137, 17});
  rbJPEGCopy_ = AddRadioButton(gbJPEG_, "rbJPEGCopy", QStringLiteral("Копировать как есть"),
                               QStringLiteral("Не конвертировать лишний раз, сохранить качество"),
                               {8, 32, 137, 17});
  rbJPEGCopy_->setChecked(true);

  gbExcists_ = new QGroupBox(QStringLiteral(" Существующие файлы "), this);
  gbExcists_->setObjectName("gbExcists");
  Place(gbExcists_, {224, 264, 185, 89});
  rbExcistsLeave_ = AddRadioButton(gbExcists_, "rbExcistsLeave", QStringLiteral("Пропустить"),
                                   QString(), {8, 16, 113, 17});
  rbExcistsAns_ = AddRadioButton(gbExcists_, "rbExcistsAns", QStringLiteral("Спросить"), QString(),
                                 {8, 32, 113, 17});
  rbExcistsRename_ =
      AddRadioButton(gbExcists_, "rbExcistsRename", QStringLiteral("Переименовать"),
                     QStringLiteral("Если файл существует, то к имени нового файла будет добавлено "
                                    "\"(Копия x)\", где x  - номер копии"),
                     {8, 48, 161, 17});
  rbExcistsRewrite_ = AddRadioButton(gbExcists_, "rbExcistsRewrite", QStringLiteral("Заменить"),
                                     QString(), {8, 64, 113, 17});
  rbExcistsLeave_->setChecked(true);
}

QPushButton* TfmMain::AddButton(const char* name, const QString& caption, const QString& hint,
                                QRect place) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setToolTip(hint);
  // Enter presses the button that has the focus; elsewhere it presses btRun.
  button->setAutoDefault(true);
  Place(button, place);
  return button;
}

QLabel* TfmMain::AddLabel(QWidget* parent, const char* name, const QString& caption, QPoint place) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  Place(label, QRect(place, QSize(1, 1)), true);
  return label;
}

QLineEdit* TfmMain::AddEdit(const char* name, const QString& text, QRect place) {
  auto* edit = new QLineEdit(text, this);
  edit->setObjectName(name);
  Place(edit, place);
  return edit;
}

QToolButton* TfmMain::AddFolderButton(const char* name, QRect place) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setText(QStringLiteral("..."));
  button->setToolTip(QStringLiteral("Выбрать папку"));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  Place(button, place);
  return button;
}

QCheckBox* TfmMain::AddCheckBox(const char* name, const QString& caption, const QString& hint,
                                QRect place) {
  auto* box = new QCheckBox(caption, this);
  box->setObjectName(name);
  box->setToolTip(hint);
  Place(box, place);
  return box;
}

QRadioButton* TfmMain::AddRadioButton(QGroupBox* group, const char* name, const QString& caption,
                                      const QString& hint, QRect place) {
  auto* button = new QRadioButton(caption, group);
  button->setObjectName(name);
  button->setToolTip(hint);
  Place(button, place);
  return button;
}

void TfmMain::Place(QWidget* control, QRect design, bool auto_size) {
  placed_.push_back({control, design, auto_size});
}

// Sizes and places every control, with the layout grown by the factor that
// lets every control's content fit its place (1 when the design fits as it
// is).
void TfmMain::ApplyLayout() {
  scale_ = 1.0;
  for (const Placed& p : placed_) {
    if (p.auto_size || qobject_cast<QGroupBox*>(p.control) || p.control == udPack_) continue;
    const QSize need = NeededSize(p.control);
    scale_ = std::max({scale_, double(need.width()) / p.design.width(),
                       double(need.height()) / p.design.height()});
  }
  scale_ = std::ceil(scale_ * 20) / 20;  // in steps of 5 %, for round numbers
  for (const Placed& p : placed_) {
    QRect place = Scaled(p.design, scale_);
    if (p.auto_size) place.setSize(p.control->sizeHint());
    p.control->setGeometry(place);
  }
  const QRect client = Scaled(QRect(QPoint(0, 0), kDesignClientSize), scale_);
  setFixedSize(client.size());
}

void TfmMain::SetTabOrder() {
  QWidget* const chain[] = {
      edDirSrc_,
      btRun_,
      btStop_,
      btRepack_,
      btStopRepack_,
      btClose_,
      btAbout_,
      cbPref_,
      edPref_,
      edDirDest_,
      cbCopyOther_,
      edDirDestOther_,
      edPack_,
      udPack_,
      rbJPEGConvert_,
      rbJPEGCopy_,
      rbExcistsLeave_,
      rbExcistsAns_,
      rbExcistsRename_,
      rbExcistsRewrite_,
      cbExitAfterConvert_,
      cbExitAfterConvertGood_,
  };
  for (std::size_t i = 1; i < std::size(chain); ++i) {
    setTabOrder(chain[i - 1], chain[i]);
  }
}

void TfmMain::ConnectHandlers() {
  connect(btRun_, &QPushButton::clicked, this, &TfmMain::btRunClick);
  connect(btStop_, &QPushButton::clicked, this, &TfmMain::btStopClick);
  connect(btRepack_, &QPushButton::clicked, this, &TfmMain::btRepackClick);
  connect(btStopRepack_, &QPushButton::clicked, this, &TfmMain::btStopRepackClick);
  connect(btClose_, &QPushButton::clicked, this, &TfmMain::btCloseClick);
  connect(btAbout_, &QPushButton::clicked, this, &TfmMain::btAboutClick);
  connect(sbDirSrc_, &QToolButton::clicked, this, &TfmMain::sbDirSrcClick);
  connect(sbDirDest_, &QToolButton::clicked, this, &TfmMain::sbDirDestClick);
  connect(sbDirDestOther_, &QToolButton::clicked, this, &TfmMain::sbDirDestOtherClick);
  // A state or text set from code fires these too, as the user's change does.
  connect(cbPref_, &QCheckBox::toggled, this, &TfmMain::cbPrefClick);
  connect(cbCopyOther_, &QCheckBox::toggled, this, &TfmMain::cbCopyOtherClick);
  connect(cbExitAfterConvert_, &QCheckBox::toggled, this, &TfmMain::cbExitAfterConvertClick);
  connect(edPref_, &QLineEdit::textChanged, this, &TfmMain::edPrefChange);
  connect(edDirSrc_, &QLineEdit::textChanged, this, &TfmMain::edDirSrcChange);
  connect(edDirDest_, &QLineEdit::textChanged, this, &TfmMain::edDirDestChange);
  connect(edDirDestOther_, &QLineEdit::textChanged, this, &TfmMain::edDirDestChange);
  connect(udPack_, &UpDownArrows::Stepped, this, &TfmMain::udPackClick);
  edPack_->installEventFilter(this);
}

}  // namespace shifrodel
