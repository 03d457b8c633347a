#pragma once
// Declarations of the controls that the window's layouts hold as public members, so that a
// layout's header names its controls without including their headers.

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;
class QTreeWidget;

namespace fenmar::ui {
class ClickableLabel;
class ListView;
class SortedComboBox;
class UpDown;
}  // namespace fenmar::ui
