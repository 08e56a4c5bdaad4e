#pragma once

// The progress bar's properties, one row each, in the order of its interface:
// ROW(interface type, state field, getter, Name, details...), where the details
// are the rest of the property's ProgressBarProperty as designated initialisers
// (its saved key is its name). PLAIN rows store the value as given; CHECKED
// rows have a hand-written setter that corrects or passes it on. Each user
// passes macros that turn a row into what it needs:
//   progressbarmembers.h    the enumerator ProgressBarPropertyId::Name
//   progressbarmembers.cpp  the table row, reached through getter and setName
//   progressbar.h           Q_PROPERTY(type Name READ getter WRITE setName),
//                           the getter and the setter's declaration
//   progressbar.cpp         the bodies of the PLAIN setters
#define LUMISONG_PROGRESSBAR_PROPERTIES(PLAIN, CHECKED) \
    CHECKED(int, value, value, Value, .type = "Long", .help = "Progressbar Value.", \
            .initial = 50, .saved = 50, .initOrder = 3, .readOrder = 3, .writeOrder = 4) \
    CHECKED(int, max, max, Max, .type = "Long", .help = "Progressbar Max Value.", \
            .initial = 100, .saved = 100, .initOrder = 1, .readOrder = 1, .writeOrder = 2) \
    CHECKED(int, min, min, Min, .type = "Long", .help = "Progressbar Min Value.", \
            .initial = 0, .saved = 0, .initOrder = 2, .readOrder = 2, .writeOrder = 3) \
    PLAIN(int, roundedValue, roundedValue, RoundedValue, .type = "Long", \
          .help = "Progressbar Rounded Corner Value.", \
          .initial = 5, .saved = 5, .initOrder = 4, .readOrder = 4, .writeOrder = 5) \
    PLAIN(bool, enabled, enabled, Enabled, .type = "Boolean", .help = "Progressbar Enabled/Disabled.", \
          .initial = true, .saved = true, .initOrder = 5, .readOrder = 5, .writeOrder = 6) \
    PLAIN(int, theme, theme, Theme, .type = "Long", .help = "Progressbar Styles.", \
          .initial = 1, .saved = 1, .initOrder = 6, .readOrder = 6, .writeOrder = 7) \
    PLAIN(int, textStyle, textStyle, TextStyle, .type = "Long", .help = "Progressbar Text Style.", \
          .initial = 3, .saved = 1, .initOrder = 12, .readOrder = 7, .writeOrder = 8) \
    PLAIN(int, orientations, orientations, Orientations, .type = "Long", .help = "", \
          .initial = 1, .saved = 1, .initOrder = 13, .readOrder = 8, .writeOrder = 1) \
    PLAIN(int, textAlignment, textAlignment, TextAlignment, .type = "Long", \
          .help = "Progressbar Text Alignment.", \
          .initial = 5, .saved = 5, .initOrder = 9, .readOrder = 12, .writeOrder = 11) \
    PLAIN(QString, text, text, Text, .type = "String", .help = "Progressbar Text.", \
          .initial = QStringLiteral("Tarn ProgressBar"), .saved = QString(), .readsName = true, \
          .initOrder = 8, .readOrder = 9, .writeOrder = 12) \
    PLAIN(Lumisong::Colour, textEffectColor, textEffectColor, TextEffectColor, .type = "OLE_COLOR", \
          .help = "Progressbar Text Effect Color.", .initial = white, .saved = Colour::rgb(200, 200, 200), \
          .initOrder = 11, .readOrder = 10, .writeOrder = 13) \
    PLAIN(int, textEffect, textEffect, TextEffect, .type = "Long", .help = "Progressbar Text Effect.", \
          .initial = 5, .saved = 1, .initOrder = 10, .readOrder = 11, .writeOrder = 14) \
    PLAIN(Lumisong::Colour, textForeColor, textForeColor, TextForeColor, .type = "OLE_COLOR", \
          .help = "Progressbar Text Color.", \
          .initial = black, .saved = black, .initOrder = 7, .readOrder = 14, .writeOrder = 10) \
    CHECKED(Lumisong::FontDescription, textFont, textFont, TextFont, .type = "Font", \
            .help = "Progressbar Text Font.", \
            .initial = ambient, .saved = ambient, .initOrder = 14, .readOrder = 13, .writeOrder = 9) \
    PLAIN(Lumisong::Colour, customColour1, pbsCustomeColor1, PBSCustomeColor1, .type = "OLE_COLOR", \
          .help = "Progressbar Style Custome Color 1.", .saved = black, .readOrder = 16, .writeOrder = 16) \
    PLAIN(Lumisong::Colour, customColour2, pbsCustomeColor2, PBSCustomeColor2, .type = "OLE_COLOR", \
          .help = "Progressbar Style Custome Color 2.", .saved = black, .readOrder = 15, .writeOrder = 15)
