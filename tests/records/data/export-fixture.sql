-- Rows for the export-csv comparison: name ties (rowid apart and out of insertion order),
-- Turkish letters, null and empty names and fields, dates with and without a time of day
-- (and forms the reader accepts or cannot read), quotes, commas and line breaks in texts.
INSERT INTO veriler(rowid, Adi_Soyadi, Yas, Tarih, Prot_No, kalp_la, Sonuc1) VALUES
 (40, 'ŞEKER AYŞE', '41', '2024-03-05', '7', '3,4', 'normal'),
 (12, 'ŞEKER AYŞE', '39', '2024-03-05 14:30:00', '8', NULL, ''),
 (3,  'ÇAĞLAR İSMAİL', '60', '2023-12-31 00:00:00', '1', '"4"', 'iki' || char(10) || 'satır'),
 (7,  'CAN IŞIK', NULL, '2024-01-02 08:05', '2', '', 'a' || char(13) || char(10) || 'b'),
 (8,  'CAN ISIK', '', '2024-01-02T08:05:09', '3', 'x""y', ',,'),
 (9,  'İLHAN ÖZ', '55', ' 2022-07-01 ', '4', NULL, NULL),
 (10, 'ILGAZ ÜNAL', '50', 'dün', '5', '"', '"a, b"'),
 (11, 'öztürk gül', '33', NULL, '6', 'ç', 'Ğğ'),
 (13, 'ÖZTÜRK GÜL', '34', '', '9', 'ı', 'İi'),
 (5,  '', '20', '2020-02-29 23:59:59', '10', 'boş ad', NULL),
 (6,  NULL, '21', '2020-02-29', '11', 'adsız', 'x'),
 (20, 'ZEYBEK ALİ', '70', '1999-01-01 12:00:00', '12', 'son', 'z'),
 (2,  'ZEYBEK ALİ', '71', '1999-01-01', '13', 'ilk', 'y'),
 (30, 'AHMET  ŞAHİN', '45', '2024-06-30 00:00:01', '14', ' boşluk ', ' '),
 (31, 'AHMET ŞAHİN', '46', '2024-06-30', '15', 'tek', '');
