#include "Template.h"

#include <algorithm>

namespace reports {

namespace {
using K = ObjectKind;

const std::vector<ObjectRow> kRapor = {
    {1, "ReportTitle1", "Memo1", K::Memo, 0, 3.77953, 642.5201, 22.67718, "", "", 16, true, HAlign::Center, ObjectAlign::Width, false, 2, false, false, {0, 1, 170, 6}},
    {2, "ReportTitle1", "Memo2", K::Memo, 0, 26.45671, 642.5201, 18.89765, "", "", 10, false, HAlign::Center, ObjectAlign::Width, false, 2, false, false, {0, 7, 170, 5}},
    {3, "ReportTitle1", "Memo3", K::Memo, 0, 60.47248, 642.5201, 18.89765, "", "", 12, false, HAlign::Center, ObjectAlign::Width, false, 2, false, false, {0, 16, 170, 5}},
    {4, "ReportTitle1", "Memo4", K::Memo, 0, 90.70872, 94.48825, 18.89765, "ADI SOYADI :", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 24, 25, 5}},
    {8, "ReportTitle1", "Memo8", K::Memo, 105.82684, 90.70872, 166.29932, 18.89765, "", "Adi_Soyadi", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {28, 24, 44, 5}},
    {5, "ReportTitle1", "Memo5", K::Memo, 0, 109.60637, 94.48825, 18.89765, "PROT. NO :", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 29, 25, 5}},
    {9, "ReportTitle1", "Memo9", K::Memo, 105.82684, 109.60637, 94.48825, 18.89765, "", "Prot_No", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {28, 29, 25, 5}},
    {6, "ReportTitle1", "Memo6", K::Memo, 351.49629, 90.70872, 64.25201, 18.89765, "TARİH :", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {93, 24, 17, 5}},
    {10, "ReportTitle1", "Memo10", K::Memo, 415.7483, 90.70872, 94.48825, 18.89765, "", "Tarih", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {110, 24, 25, 5}},
    {7, "ReportTitle1", "Memo7", K::Memo, 351.49629, 109.60637, 64.25201, 18.89765, "YAŞ :", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {93, 29, 17, 5}},
    {11, "ReportTitle1", "Memo11", K::Memo, 415.7483, 109.60637, 94.48825, 18.89765, "", "Yas", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {110, 29, 25, 5}},
    {12, "ReportTitle1", "Memo12", K::Memo, 0, 139.84261, 151.1812, 18.89765, "KALP BOŞLUKLARI", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 37, 40, 5}},
    {13, "ReportTitle1", "Memo13", K::Memo, 0, 158.74026, 143.622047244094, 18.89765, "LA", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 42, 38, 5}},
    {14, "ReportTitle1", "K1", K::Memo, 143.62214, 158.74026, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 42, 38, 5}},
    {17, "ReportTitle1", "Memo17", K::Memo, 0, 177.63791, 143.622047244094, 18.89765, "LVD", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 47, 38, 5}},
    {18, "ReportTitle1", "K2", K::Memo, 143.62204724, 177.63791, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 47, 38, 5}},
    {21, "ReportTitle1", "Memo21", K::Memo, 0, 196.53556, 143.622047244094, 18.89765, "LVS", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 52, 38, 5}},
    {22, "ReportTitle1", "K3", K::Memo, 143.62204724, 196.53556, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 52, 38, 5}},
    {15, "ReportTitle1", "Memo15", K::Memo, 351.49629, 139.84261, 143.622047244094, 18.89765, "RA", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 37, 38, 5}},
    {16, "ReportTitle1", "K4", K::Memo, 495.11811024, 139.84261, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 37, 38, 5}},
    {19, "ReportTitle1", "Memo19", K::Memo, 351.49629, 158.74026, 143.622047244094, 18.89765, "RVD", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 42, 38, 5}},
    {20, "ReportTitle1", "K5", K::Memo, 495.11811024, 158.74026, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 42, 38, 5}},
    {23, "ReportTitle1", "Memo23", K::Memo, 351.49629, 177.63791, 143.622047244094, 18.89765, "İVS", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 47, 38, 5}},
    {24, "ReportTitle1", "K6", K::Memo, 495.11811024, 177.63791, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 47, 38, 5}},
    {25, "ReportTitle1", "Memo25", K::Memo, 351.49629, 196.53556, 143.62204724, 18.89765, "PW", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 52, 38, 5}},
    {26, "ReportTitle1", "K7", K::Memo, 495.11811024, 196.53556, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 52, 38, 5}},
    {27, "ReportTitle1", "Memo27", K::Memo, 0, 226.7718, 151.1812, 18.89765, "MİTRAL KAPAK", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 60, 40, 5}},
    {28, "ReportTitle1", "Memo28", K::Memo, 0, 245.66945, 143.622047244094, 18.89765, "KAPAK YAPISI", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 65, 38, 5}},
    {29, "ReportTitle1", "Memo29", K::Memo, 143.622047244094, 245.66945, 143.622047244094, 18.89765, "", "mitral_kapak", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 65, 38, 5}},
    {30, "ReportTitle1", "Memo30", K::Memo, 0, 264.5671, 143.622047244094, 18.89765, "DİYASTOLİK AÇILMA", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 70, 38, 5}},
    {31, "ReportTitle1", "Memo31", K::Memo, 143.622047244094, 264.5671, 143.622047244094, 18.89765, "", "mitral_diyastolik", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 70, 38, 5}},
    {32, "ReportTitle1", "Memo32", K::Memo, 0, 283.46475, 143.622047244094, 18.89765, "M.K.A", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 75, 38, 5}},
    {33, "ReportTitle1", "M1", K::Memo, 143.62214, 283.46475, 143.62205701, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 75, 38, 5}},
    {109, "ReportTitle1", "M11", K::Memo, 188.97640724, 283.46475, 37.79520724, 18.89765, "", "", 6, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {50, 75, 10, 5}},
    {34, "ReportTitle1", "Memo34", K::Memo, 0, 302.3624, 143.622047244094, 18.89765, "M.K.G ( PEAK )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 80, 38, 5}},
    {35, "ReportTitle1", "M2", K::Memo, 143.62204724, 302.3624, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 80, 38, 5}},
    {36, "ReportTitle1", "Memo36", K::Memo, 0, 321.26005, 143.622047244094, 18.89765, "M.K.G ( MEAN )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 85, 38, 5}},
    {37, "ReportTitle1", "M3", K::Memo, 143.62204724, 321.26005, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 85, 38, 5}},
    {38, "ReportTitle1", "Memo38", K::Memo, 0, 340.1577, 143.622047244094, 18.89765, "YETMEZLİK", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 90, 38, 5}},
    {39, "ReportTitle1", "Memo39", K::Memo, 143.622047244094, 340.1577, 143.622047244094, 18.89765, "", "mitral_yetmezlik", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 90, 38, 5}},
    {40, "ReportTitle1", "Memo40", K::Memo, 351.49629, 226.7718, 151.1812, 18.89765, "AORT KAPAK", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {93, 60, 40, 5}},
    {41, "ReportTitle1", "Memo41", K::Memo, 351.49629, 245.66945, 143.6220448, 18.89765, "KAPAK YAPISI", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 65, 38, 5}},
    {42, "ReportTitle1", "Memo42", K::Memo, 495.11843, 245.66945, 143.62205701, 18.89765, "[frxDBDataset1.\"aort_kapak\"]", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 65, 38, 5}},
    {43, "ReportTitle1", "Memo43", K::Memo, 351.49629, 264.5671, 143.622047244094, 18.89765, "AÇIKLIK", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 70, 38, 5}},
    {44, "ReportTitle1", "Memo44", K::Memo, 495.11811023622, 264.5671, 143.622047244094, 18.89765, "[frxDBDataset1.\"aort_aciklik\"]", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 70, 38, 5}},
    {45, "ReportTitle1", "Memo45", K::Memo, 351.49629, 283.46475, 143.622047244094, 18.89765, "KÖK GENİŞLİĞİ", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 75, 38, 5}},
    {46, "ReportTitle1", "A1", K::Memo, 495.11811024, 283.46475, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 75, 38, 5}},
    {47, "ReportTitle1", "Memo47", K::Memo, 351.49629, 302.3624, 143.622047244094, 18.89765, "A.K.G ( PEAK )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 80, 38, 5}},
    {48, "ReportTitle1", "A2", K::Memo, 495.11811024, 302.3624, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 80, 38, 5}},
    {49, "ReportTitle1", "Memo49", K::Memo, 351.49629, 321.26005, 143.622047244094, 18.89765, "A.K.G ( MEAN )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 85, 38, 5}},
    {50, "ReportTitle1", "A3", K::Memo, 495.11811024, 321.26005, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 85, 38, 5}},
    {51, "ReportTitle1", "Memo51", K::Memo, 351.49629, 340.1577, 143.622047244094, 18.89765, "ASC.AORT", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 90, 38, 5}},
    {52, "ReportTitle1", "A4", K::Memo, 495.11811024, 340.1577, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 90, 38, 5}},
    {53, "ReportTitle1", "Memo53", K::Memo, 351.49629, 359.05535, 143.622047244094, 18.89765, "YETMEZLİK", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 95, 38, 5}},
    {54, "ReportTitle1", "Memo54", K::Memo, 495.11811023622, 359.05535, 143.622047244094, 18.89765, "", "aort_yetmezlik", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 95, 38, 5}},
    {66, "ReportTitle1", "Memo66", K::Memo, 0, 377.953, 151.1812, 18.89765, "TRİKÜSPİD KAPAK", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 100, 40, 5}},
    {67, "ReportTitle1", "Memo67", K::Memo, 0, 396.85065, 143.622047244094, 18.89765, "KAPAK YAPISI", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 105, 38, 5}},
    {68, "ReportTitle1", "Memo68", K::Memo, 143.622047244094, 396.85065, 143.622047244094, 18.89765, "", "trik_kapak", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 105, 38, 5}},
    {69, "ReportTitle1", "Memo69", K::Memo, 0, 415.7483, 143.622047244094, 18.89765, "DİYASTOLİK AÇILMA", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 110, 38, 5}},
    {70, "ReportTitle1", "Memo70", K::Memo, 143.62204724, 415.7483, 143.62204724, 18.89765, "", "trik_diyastolik", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 110, 38, 5}},
    {71, "ReportTitle1", "Memo71", K::Memo, 0, 434.64595, 143.622047244094, 18.89765, "T.K.G ( PEAK )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 115, 38, 5}},
    {72, "ReportTitle1", "T1", K::Memo, 143.62204724, 434.64595, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 115, 38, 5}},
    {73, "ReportTitle1", "Memo73", K::Memo, 0, 453.5436, 143.622047244094, 18.89765, "T.K.G ( MEAN )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 120, 38, 5}},
    {74, "ReportTitle1", "T2", K::Memo, 143.62204724, 453.5436, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 120, 38, 5}},
    {75, "ReportTitle1", "Memo75", K::Memo, 0, 472.44125, 143.622047244094, 18.89765, "YETMEZLİK", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {0, 125, 38, 5}},
    {76, "ReportTitle1", "Memo76", K::Memo, 143.622047244094, 472.44125, 143.622047244094, 18.89765, "", "trik_yetmezlik", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {38, 125, 38, 5}},
    {55, "ReportTitle1", "Memo55", K::Memo, 351.49629, 377.953, 151.1812, 18.89765, "PULMONER KAPAK", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {93, 100, 40, 5}},
    {56, "ReportTitle1", "Memo56", K::Memo, 351.49629, 396.85065, 143.622047244094, 18.89765, "KAPAK YAPISI", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 105, 38, 5}},
    {57, "ReportTitle1", "Memo57", K::Memo, 495.11811023622, 396.85065, 143.622047244094, 18.89765, "", "pulm_kapak", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 105, 38, 5}},
    {58, "ReportTitle1", "Memo58", K::Memo, 351.49629, 415.7483, 143.622047244094, 18.89765, "AÇILMA", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 110, 38, 5}},
    {59, "ReportTitle1", "Memo59", K::Memo, 495.11811023622, 415.7483, 143.622047244094, 18.89765, "", "pulm_acilma", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 110, 38, 5}},
    {60, "ReportTitle1", "Memo60", K::Memo, 351.49629, 434.64595, 143.622047244094, 18.89765, "P.K.G ( PEAK )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 115, 38, 5}},
    {61, "ReportTitle1", "P1", K::Memo, 495.11811024, 434.64595, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 115, 38, 5}},
    {62, "ReportTitle1", "Memo62", K::Memo, 351.49629, 453.5436, 143.622047244094, 18.89765, "P.K.G ( MEAN )", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 120, 38, 5}},
    {63, "ReportTitle1", "P2", K::Memo, 495.11811024, 453.5436, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 120, 38, 5}},
    {64, "ReportTitle1", "Memo64", K::Memo, 351.49629, 472.44125, 143.622047244094, 18.89765, "P.A.B", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 125, 38, 5}},
    {65, "ReportTitle1", "P3", K::Memo, 495.11811024, 472.44125, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 125, 38, 5}},
    {77, "ReportTitle1", "Memo77", K::Memo, 351.49629, 491.3389, 143.622047244094, 18.89765, "P.Velosite", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 130, 38, 5}},
    {78, "ReportTitle1", "P4", K::Memo, 495.11811024, 491.3389, 143.62204724, 18.89765, "", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 130, 38, 5}},
    {79, "ReportTitle1", "Memo79", K::Memo, 351.49629, 510.23655, 143.622047244094, 18.89765, "YETMEZLİK", "", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {93, 135, 38, 5}},
    {80, "ReportTitle1", "Memo80", K::Memo, 495.11811023622, 510.23655, 143.622047244094, 18.89765, "", "pulm_yetmezlik", 10, false, HAlign::Left, ObjectAlign::None, true, 5, false, false, {131, 135, 38, 5}},
    {81, "ReportTitle1", "Memo81", K::Memo, 3.77953, 510.23655, 136.06308, 18.89765, "E :  [frxDBDataset1.\"E\"]  m/sn", "", 10, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {1, 135, 36, 5}},
    {82, "ReportTitle1", "Memo83", K::Memo, 143.62214, 510.23655, 143.62214, 18.89765, "A :  [frxDBDataset1.\"A\"]  m/sn", "", 10, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {38, 135, 38, 5}},
    {83, "ReportTitle1", "Memo85", K::Memo, 0, 544.25232, 151.1812, 18.89765, "YORUM", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 144, 40, 5}},
    {84, "ReportTitle1", "Memo86", K::Memo, 22.67718, 566.9295, 619.84292, 18.89765, "", "Yorum1", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 150, 164, 5}},
    {85, "ReportTitle1", "Memo87", K::Memo, 22.67718, 585.82715, 619.842519685039, 18.89765, "", "Yorum2", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 155, 164, 5}},
    {86, "ReportTitle1", "Memo88", K::Memo, 22.67718, 604.7248, 619.842519685039, 18.89765, "", "Yorum3", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 160, 164, 5}},
    {87, "ReportTitle1", "Memo89", K::Memo, 22.67718, 623.62245, 619.842519685039, 18.89765, "", "Yorum4", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 165, 164, 5}},
    {88, "ReportTitle1", "Memo90", K::Memo, 22.67718, 642.5201, 619.842519685039, 18.89765, "", "Yorum5", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 170, 164, 5}},
    {89, "ReportTitle1", "Memo91", K::Memo, 22.67718, 661.41775, 619.842519685039, 18.89765, "", "Yorum6", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 175, 164, 5}},
    {90, "ReportTitle1", "Memo92", K::Memo, 22.67718, 680.3154, 619.842519685039, 18.89765, "", "Yorum7", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 180, 164, 5}},
    {91, "ReportTitle1", "Memo93", K::Memo, 22.67718, 699.21305, 619.842519685039, 18.89765, "", "Yorum8", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 185, 164, 5}},
    {92, "ReportTitle1", "Memo94", K::Memo, 22.67718, 718.1107, 619.842519685039, 18.89765, "", "Yorum9", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 190, 164, 5}},
    {93, "ReportTitle1", "Memo95", K::Memo, 3.77953, 748.34694, 105.82684, 18.89765, "SONUÇ :", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {1, 198, 28, 5}},
    {94, "ReportTitle1", "Memo96", K::Memo, 143.62214, 748.34694, 117.16543, 18.89765, "EF :  % [frxDBDataset1.\"EF\"]", "", 11, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {38, 198, 31, 5}},
    {95, "ReportTitle1", "Memo97", K::Memo, 22.67718, 771.02412, 616.06339, 18.89765, "[frxDBDataset1.\"Sonuc1\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 204, 163, 5}},
    {96, "ReportTitle1", "Memo98", K::Memo, 22.67718, 789.92177, 616.06299213, 18.89765, "[frxDBDataset1.\"Sonuc2\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 209, 163, 5}},
    {97, "ReportTitle1", "Memo99", K::Memo, 22.67718, 808.81942, 616.06299213, 18.89765, "[frxDBDataset1.\"Sonuc3\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 214, 163, 5}},
    {98, "ReportTitle1", "Memo100", K::Memo, 22.67718, 827.71707, 616.06299213, 18.89765, "[frxDBDataset1.\"Sonuc4\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 219, 163, 5}},
    {99, "ReportTitle1", "Memo101", K::Memo, 22.67718, 846.61472, 616.06299213, 18.89765, "[frxDBDataset1.\"Sonuc5\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 224, 163, 5}},
    {100, "ReportTitle1", "Memo102", K::Memo, 22.67718, 865.51237, 616.06299213, 18.89765, "[frxDBDataset1.\"Sonuc6\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 229, 163, 5}},
    {101, "ReportTitle1", "Memo103", K::Memo, 22.67718, 884.41002, 616.06299213, 18.89765, "[frxDBDataset1.\"Sonuc7\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 234, 163, 5}},
    {102, "ReportTitle1", "Memo104", K::Memo, 22.67718, 903.30767, 616.06299213, 18.89765, "[frxDBDataset1.\"Sonuc8\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 239, 163, 5}},
    {103, "ReportTitle1", "Memo105", K::Memo, 22.67718, 922.20532, 423.30696213, 18.89765, "[frxDBDataset1.\"Sonuc9\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 244, 112, 5}},
    {104, "ReportTitle1", "Memo106", K::Memo, 22.67718, 941.10297, 423.30696213, 18.89765, "[frxDBDataset1.\"Sonuc10\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 249, 112, 5}},
    {105, "ReportTitle1", "Memo107", K::Memo, 22.67718, 960.00062, 423.30696213, 18.89765, "[frxDBDataset1.\"Sonuc11\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 254, 112, 5}},
    {106, "ReportTitle1", "Memo108", K::Memo, 22.67718, 978.89827, 423.30696213, 18.89765, "[frxDBDataset1.\"Sonuc12\"]", "", 10, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {6, 259, 112, 5}},
    {107, "ReportTitle1", "MemoDr", K::Memo, 449.76407, 971.33921, 192.75603, 18.89765, "", "", 10, false, HAlign::Center, ObjectAlign::None, false, 2, false, false, {119, 257, 51, 5}},
    {108, "ReportTitle1", "MemoUnvan", K::Memo, 449.76407, 990.23686, 192.75603, 18.89765, "", "", 10, false, HAlign::Center, ObjectAlign::None, false, 2, false, false, {119, 262, 51, 5}},};

const std::vector<ObjectRow> kRaporKisi = {
    {5, "ReportTitle1", "Memo1", K::Memo, 0, 0, 642.5201, 22.67718, "", "", 16, true, HAlign::Center, ObjectAlign::Width, false, 2, false, false, {0, 0, 170, 6}},
    {6, "ReportTitle1", "Memo2", K::Memo, 0, 22.67718, 642.5201, 18.89765, "", "", 10, false, HAlign::Center, ObjectAlign::Width, false, 2, false, false, {0, 6, 170, 5}},
    {7, "ReportTitle1", "Memo3", K::Memo, 102.04731, 56.69295, 438.42548, 18.89765, "", "", 12, false, HAlign::Center, ObjectAlign::Center, false, 2, false, false, {27, 15, 116, 5}},
    {10, "ReportTitle1", "SysMemo3", K::SysMemo, 548.03185, 68.03154, 94.48825, 18.89765, "[DATE]", "", 8, false, HAlign::Right, ObjectAlign::None, false, 2, false, false, {145, 18, 25, 5}},
    {9, "ReportTitle1", "Line2", K::Line, 0, 86.92919, 642.51968503937, 0, "", "", 0, false, HAlign::Left, ObjectAlign::None, false, 2, true, false, {0, 23, 170, 0}},
    {4, "ReportTitle1", "Memo8", K::Memo, 0, 86.92919, 94.48825, 18.89765, "Adı Soyadı", "", 9, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 23, 25, 5}},
    {3, "ReportTitle1", "Memo9", K::Memo, 196.53556, 86.92919, 79.37013, 18.89765, "Yaşı", "", 9, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {52, 23, 21, 5}},
    {2, "ReportTitle1", "Memo10", K::Memo, 283.46475, 86.92919, 94.48825, 18.89765, "Prot. No", "", 9, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {75, 23, 25, 5}},
    {1, "ReportTitle1", "Memo11", K::Memo, 408.18924, 86.92919, 94.48825, 18.89765, "Tarih", "", 9, true, HAlign::Left, ObjectAlign::None, false, 2, false, false, {108, 23, 25, 5}},
    {8, "ReportTitle1", "Line1", K::Line, 0, 105.82684, 642.51968503937, 0, "", "", 0, false, HAlign::Left, ObjectAlign::None, false, 2, true, false, {0, 28, 170, 0}},
    {1, "MasterData1", "Memo4", K::Memo, 0, 0, 196.53556, 18.89765, "[frxDBDataset1.\"Adi_Soyadi\"]", "", 9, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 0, 52, 5}},
    {2, "MasterData1", "Memo5", K::Memo, 196.53556, 0, 79.37013, 18.89765, "", "Yas", 9, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {52, 0, 21, 5}},
    {3, "MasterData1", "Memo6", K::Memo, 283.46475, 0, 120.94496, 18.89765, "", "Prot_No", 9, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {75, 0, 32, 5}},
    {4, "MasterData1", "Memo7", K::Memo, 408.18924, 0, 94.48825, 18.89765, "", "Tarih", 9, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {108, 0, 25, 5}},
    {5, "MasterData1", "Line3", K::Line, 0, 17.89765, 642.51968504, 0, "", "", 0, false, HAlign::Left, ObjectAlign::None, false, 2, true, true, {0, 4.74, 170, 0}},
    {2, "PageFooter1", "SysMemo2", K::SysMemo, 0, 3.77953, 94.48825, 18.89765, "Toplam: [LINE#]", "", 8, false, HAlign::Left, ObjectAlign::None, false, 2, false, false, {0, 1, 25, 5}},
    {1, "PageFooter1", "SysMemo1", K::SysMemo, 544.25232, 3.77953, 94.48825, 18.89765, "Sayfa: [PAGE#] / [TOTALPAGES#]", "", 8, false, HAlign::Right, ObjectAlign::None, false, 2, false, false, {144, 1, 25, 5}},};

ReportObject objectFrom(const ObjectRow &r)
{
    ReportObject o;
    o.name = QLatin1String(r.name);
    o.kind = r.kind;
    o.left = r.left;
    o.top = r.top;
    o.width = r.width;
    o.height = r.height;
    o.align = r.align;
    setMemoText(o, QString::fromUtf8(r.memo));
    if (*r.field) {
        o.dataSet = QStringLiteral("frxDBDataset1");
        o.dataField = QLatin1String(r.field);
    }
    o.fontPt = r.fontPt;
    o.bold = r.bold;
    o.hAlign = r.hAlign;
    o.gapX = r.gapX;
    if (r.box)
        o.frame.left = o.frame.right = o.frame.top = o.frame.bottom = true;
    o.frame.top = o.frame.top || r.frameTop;
    o.frame.dotted = r.dotted;
    return o;
}

// Bands with their objects in object-list order (the tables list them by section).
void addBand(ReportTemplate &t, const std::vector<ObjectRow> &rows, const char *name, BandKind kind, double height)
{
    Band band;
    band.name = QLatin1String(name);
    band.kind = kind;
    band.height = height;
    std::vector<const ObjectRow *> mine;
    for (const ObjectRow &r : rows)
        if (QLatin1String(r.band) == QLatin1String(name))
            mine.push_back(&r);
    std::sort(mine.begin(), mine.end(), [](const ObjectRow *a, const ObjectRow *b) { return a->order < b->order; });
    for (const ObjectRow *r : mine)
        band.objects.push_back(objectFrom(*r));
    t.bands.push_back(std::move(band));
}
}  // namespace

const std::vector<ObjectRow> &raporRows() { return kRapor; }
const std::vector<ObjectRow> &raporKisiRows() { return kRaporKisi; }

ReportTemplate makeRapor()
{
    ReportTemplate t;
    t.name = QStringLiteral("Rapor");
    addBand(t, kRapor, "ReportTitle1", BandKind::ReportTitle, 1009.13451);
    t.layOut();
    return t;
}

ReportTemplate makeRaporKisi()
{
    ReportTemplate t;
    t.name = QStringLiteral("RaporKisi");
    t.navigator = true;
    addBand(t, kRaporKisi, "ReportTitle1", BandKind::ReportTitle, 105.82684);
    addBand(t, kRaporKisi, "MasterData1", BandKind::MasterData, 18.89765);
    addBand(t, kRaporKisi, "PageFooter1", BandKind::PageFooter, 22.67718);
    t.layOut();
    return t;
}

const Band *ReportTemplate::band(BandKind kind) const
{
    for (const Band &b : bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

ReportObject *ReportTemplate::FindObject(const QString &name)
{
    for (Band &b : bands)
        for (ReportObject &o : b.objects)
            if (o.name.compare(name, Qt::CaseInsensitive) == 0)
                return &o;
    return nullptr;
}

void ReportTemplate::layOut()
{
    constexpr double kOverlap = 0.0001;
    for (Band &b : bands) {
        b.width = pageWidth();
        for (ReportObject &o : b.objects) {
            if (o.align == ObjectAlign::Center) {
                o.left = (b.width - o.width) / 2;
            } else if (o.align == ObjectAlign::Width) {
                double leftEdge = 0, rightEdge = b.width;
                for (const ReportObject &other : b.objects) {
                    if (&other == &o)
                        continue;
                    const bool overlaps = std::min(o.top + o.height, other.top + other.height) - std::max(o.top, other.top) > kOverlap;
                    if (!overlaps)
                        continue;
                    if (other.left + other.width <= o.left + kOverlap)
                        leftEdge = std::max(leftEdge, other.left + other.width);
                    else if (other.left >= o.left + o.width - kOverlap)
                        rightEdge = std::min(rightEdge, other.left);
                }
                o.left = leftEdge;
                o.width = rightEdge - leftEdge;
            }
        }
    }
}

void setMemoText(ReportObject &memo, const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n')).replace(QChar(0x2028), QLatin1Char('\n'));
    memo.memo = t.isEmpty() ? QStringList() : t.split(QLatin1Char('\n'));
}

}  // namespace reports
