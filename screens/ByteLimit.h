#pragma once

class QLineEdit;

// An edit box that takes at most maxBytes of code page 932 while the user types (the fields the
// text goes into are that wide): what goes past the limit is left out and the cursor stays put.
void LimitToCp932Bytes(QLineEdit* edit, int maxBytes);
