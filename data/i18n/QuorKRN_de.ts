<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
<context>
    <name>WKRN_Menu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Zoom</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>&amp;Sheet</source>
        <translation>Bo&amp;gen</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Backup</source>
        <translation>&amp;Widerdruck</translation>
    </message>
    <message>
        <source>&amp;Arrange Palettes</source>
        <translation>&amp;Paletten anordnen</translation>
    </message>
    <message>
        <source>&amp;Open Preview Files ...	Ctrl+O</source>
        <translation>Vorschaudateien ö&amp;ffnen ...	Strg+O</translation>
    </message>
    <message>
        <source>&amp;Add Preview Files...</source>
        <translation>Vorschaudateien &amp;hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Job Browser...	Ctrl+J</source>
        <translation>&amp;Auftragsbrowser...	Strg+J</translation>
    </message>
    <message>
        <source>&amp;Close Job 	Ctrl+W</source>
        <translation>Auftrag &amp;schließen 	Strg+W</translation>
    </message>
    <message>
        <source>E&amp;xit	Ctrl+Q</source>
        <translation>&amp;Beenden	Strg+Q</translation>
    </message>
    <message>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation>&amp;Rückgängig	Strg+Z</translation>
    </message>
    <message>
        <source>Cu&amp;t	Ctrl+X</source>
        <translation>&amp;Ausschneiden	Strg+X</translation>
    </message>
    <message>
        <source>&amp;Copy	Ctrl+C</source>
        <translation>&amp;Kopieren	Strg+C</translation>
    </message>
    <message>
        <source>&amp;Paste	Ctrl+V</source>
        <translation>&amp;Einfügen	Strg+V</translation>
    </message>
    <message>
        <source>Custom C&amp;olors...</source>
        <translation>Eigene &amp;Farben...</translation>
    </message>
    <message>
        <source>Pre&amp;ferences...	Ctrl+,</source>
        <translation>&amp;Einstellungen...	Strg+,</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>S&amp;tatusleiste</translation>
    </message>
    <message>
        <source>8:1</source>
        <translation>8:1</translation>
    </message>
    <message>
        <source>4:1</source>
        <translation>4:1</translation>
    </message>
    <message>
        <source>2:1</source>
        <translation>2:1</translation>
    </message>
    <message>
        <source>&amp;1:1</source>
        <translation>&amp;1:1</translation>
    </message>
    <message>
        <source>1:&amp;2</source>
        <translation>1:&amp;2</translation>
    </message>
    <message>
        <source>1:&amp;4</source>
        <translation>1:&amp;4</translation>
    </message>
    <message>
        <source>1:&amp;8</source>
        <translation>1:&amp;8</translation>
    </message>
    <message>
        <source>1:1&amp;6</source>
        <translation>1:1&amp;6</translation>
    </message>
    <message>
        <source>1:&amp;32</source>
        <translation>1:&amp;32</translation>
    </message>
    <message>
        <source>1:64</source>
        <translation>1:64</translation>
    </message>
    <message>
        <source>1:128</source>
        <translation>1:128</translation>
    </message>
    <message>
        <source>1:256</source>
        <translation>1:256</translation>
    </message>
    <message>
        <source>1:&amp;512	Ctrl+5</source>
        <translation>1:&amp;512	Strg+5</translation>
    </message>
    <message>
        <source>Zoom &amp;In	Ctrl++</source>
        <translation>Ver&amp;größern	Strg++</translation>
    </message>
    <message>
        <source>Zoom &amp;Out	Ctrl+-</source>
        <translation>Ver&amp;kleinern	Strg+-</translation>
    </message>
    <message>
        <source>&amp;Fit To Window	Ctrl+0</source>
        <translation>&amp;An Fenster anpassen	Strg+0</translation>
    </message>
    <message>
        <source>Show &amp;Imposition	Ctrl+I</source>
        <translation>&amp;Ausschießen zeigen	Strg+I</translation>
    </message>
    <message>
        <source>Press &amp;Sheet Edge</source>
        <translation>&amp;Druckbogenkante</translation>
    </message>
    <message>
        <source>&amp;Bleed Edge</source>
        <translation>&amp;Beschnittkante</translation>
    </message>
    <message>
        <source>&amp;Page Edge</source>
        <translation>&amp;Seitenkante</translation>
    </message>
    <message>
        <source>Page &amp;Numbers</source>
        <translation>Seiten&amp;nummern</translation>
    </message>
    <message>
        <source>P&amp;lates</source>
        <translation>&amp;Platten</translation>
    </message>
    <message>
        <source>Press &amp;Sheets</source>
        <translation>&amp;Druckbogen</translation>
    </message>
    <message>
        <source>&amp;Pages</source>
        <translation>&amp;Seiten</translation>
    </message>
    <message>
        <source>&amp;Flip Sheet	Ctrl+F</source>
        <translation>Bogen &amp;wenden	Strg+F</translation>
    </message>
    <message>
        <source>&amp;More Opaque	F10</source>
        <translation>&amp;Deckender	F10</translation>
    </message>
    <message>
        <source>&amp;Less Opaque	F9</source>
        <translation>&amp;Transparenter	F9</translation>
    </message>
    <message>
        <source>&amp;Pan</source>
        <translation>&amp;Verschieben</translation>
    </message>
    <message>
        <source>&amp;Measure</source>
        <translation>&amp;Messen</translation>
    </message>
    <message>
        <source>&amp;Navigation Palette</source>
        <translation>&amp;Navigationspalette</translation>
    </message>
    <message>
        <source>Se&amp;parations Palette</source>
        <translation>&amp;Separationenpalette</translation>
    </message>
    <message>
        <source>&amp;Measurement Palette</source>
        <translation>&amp;Messpalette</translation>
    </message>
    <message>
        <source>Float &amp;Left	Ctrl+Shift+E</source>
        <translation>Schwebend &amp;links	Strg+Umschalt+E</translation>
    </message>
    <message>
        <source>Float &amp;Right	Ctrl+Shift+P</source>
        <translation>Schwebend &amp;rechts	Strg+Umschalt+P</translation>
    </message>
    <message>
        <source>Dock L&amp;eft	Ctrl+Shift+D</source>
        <translation>L&amp;inks andocken	Strg+Umschalt+D</translation>
    </message>
    <message>
        <source>Dock R&amp;ight	Ctrl+D</source>
        <translation>R&amp;echts andocken	Strg+D</translation>
    </message>
    <message>
        <source>&amp;Cascade	Ctrl+Shift+J</source>
        <translation>Ü&amp;berlappend	Strg+Umschalt+J</translation>
    </message>
    <message>
        <source>Tile &amp;Horizontally	Ctrl+Shift+K</source>
        <translation>&amp;Untereinander	Strg+Umschalt+K</translation>
    </message>
    <message>
        <source>Tile &amp;Vertically	Ctrl+Shift+L</source>
        <translation>&amp;Nebeneinander	Strg+Umschalt+L</translation>
    </message>
    <message>
        <source>Close &amp;All Jobs	Ctrl+Shift+W</source>
        <translation>&amp;Alle Aufträge schließen	Strg+Umschalt+W</translation>
    </message>
    <message>
        <source>Quor KRN &amp;Help...	F1</source>
        <translation>Quor KRN-&amp;Hilfe...	F1</translation>
    </message>
    <message>
        <source>&amp;About Quor KRN...</source>
        <translation>&amp;Info über Quor KRN...</translation>
    </message>
    <message>
        <source>&amp;Ink Limit</source>
        <translation>&amp;Farbauftragslimit</translation>
    </message>
    <message>
        <source>Ink &amp;Zones...</source>
        <translation>Farb&amp;zonen...</translation>
    </message>
    <message>
        <source>&amp;Densitometer</source>
        <translation>&amp;Densitometer</translation>
    </message>
    <message>
        <source>&amp;Compare With...</source>
        <translation>&amp;Vergleichen mit...</translation>
    </message>
    <message>
        <source>Ne&amp;xt Difference	F8</source>
        <translation>&amp;Nächster Unterschied	F8</translation>
    </message>
    <message>
        <source>Pre&amp;vious Difference	Shift+F8</source>
        <translation>V&amp;origer Unterschied	Umschalt+F8</translation>
    </message>
    <message>
        <source>Compare &amp;Off</source>
        <translation>Vergleich &amp;beenden</translation>
    </message>
    <message>
        <source>Export Ink &amp;Presetting (CIP3 PPF)...</source>
        <translation>Farb&amp;voreinstellung exportieren (CIP3 PPF)...</translation>
    </message>
</context>
<context>
    <name>WKRN_StringTable</name>
    <message>
        <source>CAPS</source>
        <comment>129</comment>
        <translation>GROSS</translation>
    </message>
    <message>
        <source>X:XXX</source>
        <comment>130</comment>
        <translation>X:XXX</translation>
    </message>
    <message>
        <source>Workstyle</source>
        <comment>131</comment>
        <translation>Arbeitsweise</translation>
    </message>
    <message>
        <source>en</source>
        <comment>132</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>Copyright © Quor. All rights reserved.</source>
        <comment>136</comment>
        <translation>Copyright © Quor. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>The colours shown for PANTONE® names are approximations made on screen and may not match the PANTONE-identified standards in print. Consult current PANTONE colour publications for accurate colour.
The colour data supplied with this program are Quor's own approximate values. They are licensed for use with Quor Varnex only and may not be copied, extracted or distributed apart from it.</source>
        <comment>137</comment>
        <translation>Die für PANTONE®-Namen gezeigten Farben sind am Bildschirm erzeugte Näherungen und stimmen möglicherweise nicht mit den PANTONE-Standards im Druck überein. Verbindliche Farben zeigen die aktuellen PANTONE-Farbpublikationen.
Die mit diesem Programm gelieferten Farbdaten sind Näherungswerte von Quor. Sie sind nur zur Verwendung mit Quor Varnex lizenziert und dürfen nicht getrennt davon kopiert, entnommen oder weitergegeben werden.</translation>
    </message>
    <message>
        <source>: Signature %i Web %i</source>
        <comment>146</comment>
        <translation>: Signatur %i Bahn %i</translation>
    </message>
    <message>
        <source>Add Separation Files</source>
        <comment>147</comment>
        <translation>Separationsdateien hinzufügen</translation>
    </message>
    <message>
        <source>Open Separation Files</source>
        <comment>148</comment>
        <translation>Separationsdateien öffnen</translation>
    </message>
    <message>
        <source>points</source>
        <comment>172</comment>
        <translation>Punkt</translation>
    </message>
    <message>
        <source>picas</source>
        <comment>173</comment>
        <translation>Pica</translation>
    </message>
    <message>
        <source>inches</source>
        <comment>174</comment>
        <translation>Zoll</translation>
    </message>
    <message>
        <source>millimetres</source>
        <comment>175</comment>
        <translation>Millimeter</translation>
    </message>
    <message>
        <source>centimetres</source>
        <comment>176</comment>
        <translation>Zentimeter</translation>
    </message>
    <message>
        <source>pt</source>
        <comment>177</comment>
        <translation>pt</translation>
    </message>
    <message>
        <source>p</source>
        <comment>178</comment>
        <translation>p</translation>
    </message>
    <message>
        <source>in</source>
        <comment>179</comment>
        <translation>in</translation>
    </message>
    <message>
        <source>mm</source>
        <comment>180</comment>
        <translation>mm</translation>
    </message>
    <message>
        <source>cm</source>
        <comment>181</comment>
        <translation>cm</translation>
    </message>
    <message>
        <source>Quor Varnex</source>
        <comment>182</comment>
        <translation>Quor Varnex</translation>
    </message>
    <message>
        <source>Version 2.0.3</source>
        <comment>183</comment>
        <translation>Version 2.0.3</translation>
    </message>
    <message>
        <source>Quor KRN - </source>
        <comment>187</comment>
        <translation>Quor KRN - </translation>
    </message>
    <message>
        <source>Distance | Angle :</source>
        <comment>191</comment>
        <translation>Abstand | Winkel :</translation>
    </message>
    <message>
        <source>Delta ( h, v ) :</source>
        <comment>192</comment>
        <translation>Versatz ( h, v ) :</translation>
    </message>
    <message>
        <source>Current ( h, v ) :</source>
        <comment>193</comment>
        <translation>Aktuell ( h, v ) :</translation>
    </message>
    <message>
        <source>Default Color</source>
        <comment>194</comment>
        <translation>Standardfarbe</translation>
    </message>
    <message>
        <source>Color Picker...</source>
        <comment>195</comment>
        <translation>Farbwähler...</translation>
    </message>
    <message>
        <source>Would you like to see detailed information?</source>
        <comment>196</comment>
        <translation>Möchten Sie ausführliche Informationen sehen?</translation>
    </message>
    <message>
        <source>Navigation</source>
        <comment>197</comment>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Separations</source>
        <comment>198</comment>
        <translation>Separationen</translation>
    </message>
    <message>
        <source>Measurement</source>
        <comment>199</comment>
        <translation>Messung</translation>
    </message>
    <message>
        <source>Preferences</source>
        <comment>200</comment>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Help Unavailable</source>
        <comment>201</comment>
        <translation>Hilfe nicht verfügbar</translation>
    </message>
    <message>
        <source>Sorry, help is unavailable since the help file named "%s" cannot be found.</source>
        <comment>202</comment>
        <translation>Die Hilfe ist leider nicht verfügbar, da die Hilfedatei "%s" nicht gefunden wurde.</translation>
    </message>
    <message>
        <source>Quor Varnex is protected by one or more patents, issued or pending.</source>
        <comment>205</comment>
        <translation>Quor Varnex ist durch ein oder mehrere erteilte oder angemeldete Patente geschützt.</translation>
    </message>
    <message>
        <source>Portions of this program use the TIFF library (LibTIFF).
Copyright (c) 1988-1997 Sam Leffler
Copyright (c) 1991-1997 Silicon Graphics, Inc.

Permission to use, copy, modify, distribute, and sell this software and its documentation for any purpose is hereby granted without fee, provided that (i) the above copyright notices and this permission notice appear in all copies of the software and related documentation, and (ii) the names of Sam Leffler and Silicon Graphics may not be used in any advertising or publicity relating to the software without the specific, prior written permission of Sam Leffler and Silicon Graphics.

THE SOFTWARE IS PROVIDED "AS-IS" AND WITHOUT WARRANTY OF ANY KIND, EXPRESS, IMPLIED OR OTHERWISE, INCLUDING WITHOUT LIMITATION, ANY WARRANTY OF MERCHANTABILITY OR FITNESS FOR A PARTICULAR PURPOSE.

IN NO EVENT SHALL SAM LEFFLER OR SILICON GRAPHICS BE LIABLE FOR ANY SPECIAL, INCIDENTAL, INDIRECT OR CONSEQUENTIAL DAMAGES OF ANY KIND, OR ANY DAMAGES WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER OR NOT ADVISED OF THE POSSIBILITY OF DAMAGE, AND ON ANY THEORY OF LIABILITY, ARISING OUT OF OR IN CONNECTION WITH THE USE OR PERFORMANCE OF THIS SOFTWARE.

The user interface uses the Qt toolkit under the GNU Lesser General Public License, version 3.</source>
        <comment>206</comment>
        <translation>Teile dieses Programms verwenden die TIFF-Bibliothek (LibTIFF).
Copyright (c) 1988-1997 Sam Leffler
Copyright (c) 1991-1997 Silicon Graphics, Inc.

Permission to use, copy, modify, distribute, and sell this software and its documentation for any purpose is hereby granted without fee, provided that (i) the above copyright notices and this permission notice appear in all copies of the software and related documentation, and (ii) the names of Sam Leffler and Silicon Graphics may not be used in any advertising or publicity relating to the software without the specific, prior written permission of Sam Leffler and Silicon Graphics.

THE SOFTWARE IS PROVIDED "AS-IS" AND WITHOUT WARRANTY OF ANY KIND, EXPRESS, IMPLIED OR OTHERWISE, INCLUDING WITHOUT LIMITATION, ANY WARRANTY OF MERCHANTABILITY OR FITNESS FOR A PARTICULAR PURPOSE.

IN NO EVENT SHALL SAM LEFFLER OR SILICON GRAPHICS BE LIABLE FOR ANY SPECIAL, INCIDENTAL, INDIRECT OR CONSEQUENTIAL DAMAGES OF ANY KIND, OR ANY DAMAGES WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER OR NOT ADVISED OF THE POSSIBILITY OF DAMAGE, AND ON ANY THEORY OF LIABILITY, ARISING OUT OF OR IN CONNECTION WITH THE USE OR PERFORMANCE OF THIS SOFTWARE.

Die Benutzeroberfläche verwendet das Qt-Toolkit unter der GNU Lesser General Public License, Version 3.</translation>
    </message>
    <message>
        <source>Quor, Quor Varnex and Quor KRN are trademarks of Quor.</source>
        <comment>208</comment>
        <translation>Quor, Quor Varnex und Quor KRN sind Marken von Quor.</translation>
    </message>
    <message>
        <source>PANTONE® and other Pantone trademarks are the property of their owner.</source>
        <comment>209</comment>
        <translation>PANTONE® und andere Pantone-Marken sind Eigentum ihres Inhabers.</translation>
    </message>
    <message>
        <source>All other product and company names are trademarks or registered trademarks of their respective owners.</source>
        <comment>211</comment>
        <translation>Alle anderen Produkt- und Firmennamen sind Marken oder eingetragene Marken ihrer jeweiligen Inhaber.</translation>
    </message>
    <message>
        <source>Incompatible OS Version</source>
        <comment>1001</comment>
        <translation>Inkompatible Betriebssystemversion</translation>
    </message>
    <message>
        <source>Sorry, Quor Varnex 2.0 requires Windows 2000 SP1 or later.</source>
        <comment>1002</comment>
        <translation>Quor Varnex 2.0 benötigt leider Windows 2000 SP1 oder neuer.</translation>
    </message>
    <message>
        <source>Please upgrade your operating system and restart this application.</source>
        <comment>1003</comment>
        <translation>Bitte aktualisieren Sie Ihr Betriebssystem und starten Sie diese Anwendung neu.</translation>
    </message>
    <message>
        <source>Unhandled exception caught in main</source>
        <comment>1004</comment>
        <translation>Unbehandelte Ausnahme in main abgefangen</translation>
    </message>
    <message>
        <source>Caught a GLIB_Exception.</source>
        <comment>1005</comment>
        <translation>Eine GLIB_Exception wurde abgefangen.</translation>
    </message>
    <message>
        <source>Caught a std::exception.</source>
        <comment>1006</comment>
        <translation>Eine std::exception wurde abgefangen.</translation>
    </message>
    <message>
        <source>An unidentified exception has been caught.</source>
        <comment>1007</comment>
        <translation>Eine unbekannte Ausnahme wurde abgefangen.</translation>
    </message>
    <message>
        <source>Invalid Preview Files Encountered</source>
        <comment>1008</comment>
        <translation>Ungültige Vorschaudateien gefunden</translation>
    </message>
    <message>
        <source>One file in this folder was ignored since it is not a valid preview file.</source>
        <comment>1009</comment>
        <translation>Eine Datei in diesem Ordner wurde übergangen, da sie keine gültige Vorschaudatei ist.</translation>
    </message>
    <message>
        <source>%i files in this folder were ignored since they are not valid preview files.</source>
        <comment>1010</comment>
        <translation>%i Dateien in diesem Ordner wurden übergangen, da sie keine gültigen Vorschaudateien sind.</translation>
    </message>
    <message>
        <source>This file is missing job information or it does not appear to be a TIFF file.</source>
        <comment>1011</comment>
        <translation>Dieser Datei fehlen Auftragsinformationen, oder sie scheint keine TIFF-Datei zu sein.</translation>
    </message>
    <message>
        <source>These files are missing job information or they do not appear to be TIFF files.</source>
        <comment>1012</comment>
        <translation>Diesen Dateien fehlen Auftragsinformationen, oder sie scheinen keine TIFF-Dateien zu sein.</translation>
    </message>
    <message>
        <source>About Quor KRN</source>
        <comment>1013</comment>
        <translation>Info über Quor KRN</translation>
    </message>
    <message>
        <source>Quor KRN Help</source>
        <comment>1014</comment>
        <translation>Quor KRN-Hilfe</translation>
    </message>
    <message>
        <source>Quor KRN</source>
        <comment>1015</comment>
        <translation>Quor KRN</translation>
    </message>
    <message>
        <source>Select a folder containing the preview files you would like to view</source>
        <comment>151</comment>
        <translation>Wählen Sie einen Ordner mit den Vorschaudateien, die Sie ansehen möchten</translation>
    </message>
    <message>
        <source>Scanning Directory…</source>
        <comment>166</comment>
        <translation>Ordner wird durchsucht…</translation>
    </message>
    <message>
        <source>Processed %i of %i Files</source>
        <comment>167</comment>
        <translation>%i von %i Dateien verarbeitet</translation>
    </message>
    <message>
        <source>Signature</source>
        <comment>168</comment>
        <translation>Bogen</translation>
    </message>
    <message>
        <source>Signatures</source>
        <comment>169</comment>
        <translation>Bogen</translation>
    </message>
    <message>
        <source>Web</source>
        <comment>170</comment>
        <translation>Bahn</translation>
    </message>
    <message>
        <source>Webs</source>
        <comment>171</comment>
        <translation>Bahnen</translation>
    </message>
    <message>
        <source>Item</source>
        <comment>188</comment>
        <translation>Element</translation>
    </message>
    <message>
        <source>Print Time</source>
        <comment>204</comment>
        <translation>Druckzeit</translation>
    </message>
    <message>
        <source>The folder cannot be read.</source>
        <comment>1016</comment>
        <translation>Der Ordner kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>One preview file of this sheet could not be read, so its ink may be missing from the picture.</source>
        <comment>2581</comment>
        <translation>Eine Vorschaudatei dieses Bogens konnte nicht gelesen werden; ihre Farbe kann im Bild fehlen.</translation>
    </message>
    <message>
        <source>%1 preview files of this sheet could not be read, so their inks may be missing from the picture.</source>
        <comment>2582</comment>
        <translation>%1 Vorschaudateien dieses Bogens konnten nicht gelesen werden; ihre Farben können im Bild fehlen.</translation>
    </message>
    <message>
        <source>Close the job and open the sheet again once the files can be read.</source>
        <comment>2583</comment>
        <translation>Schließen Sie den Auftrag und öffnen Sie den Bogen erneut, sobald die Dateien lesbar sind.</translation>
    </message>
    <message>
        <source>Unreadable Preview Files</source>
        <comment>2584</comment>
        <translation>Nicht lesbare Vorschaudateien</translation>
    </message>
    <message>
        <source>All Preview Files</source>
        <comment>1150</comment>
        <translation>Alle Vorschaudateien</translation>
    </message>
    <message>
        <source>All Files</source>
        <comment>1151</comment>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>Open the preview files of a job in a job window
Open Preview Files</source>
        <comment>32771</comment>
        <translation>Die Vorschaudateien eines Auftrags in einem Auftragsfenster öffnen
Vorschaudateien öffnen</translation>
    </message>
    <message>
        <source>Add preview files to this job or remove files from it
Add Preview Files</source>
        <comment>32772</comment>
        <translation>Vorschaudateien zu diesem Auftrag hinzufügen oder daraus entfernen
Vorschaudateien hinzufügen</translation>
    </message>
    <message>
        <source>Browse a job folder and open impositions, signatures or sheets
Job Browser</source>
        <comment>32773</comment>
        <translation>Einen Auftragsordner durchsuchen und Ausschießschemata, Signaturen oder Bogen öffnen
Auftragsbrowser</translation>
    </message>
    <message>
        <source>Close this job and keep an empty job window
Close Job</source>
        <comment>57602</comment>
        <translation>Diesen Auftrag schließen und ein leeres Auftragsfenster behalten
Auftrag schließen</translation>
    </message>
    <message>
        <source>Quit the application
Exit</source>
        <comment>57665</comment>
        <translation>Die Anwendung beenden
Beenden</translation>
    </message>
    <message>
        <source>Undo the last action
Undo</source>
        <comment>57643</comment>
        <translation>Die letzte Aktion rückgängig machen
Rückgängig</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the clipboard
Cut</source>
        <comment>57635</comment>
        <translation>Die Auswahl ausschneiden und in die Zwischenablage legen
Ausschneiden</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the clipboard
Copy</source>
        <comment>57634</comment>
        <translation>Die Auswahl kopieren und in die Zwischenablage legen
Kopieren</translation>
    </message>
    <message>
        <source>Insert the clipboard contents
Paste</source>
        <comment>57637</comment>
        <translation>Den Inhalt der Zwischenablage einfügen
Einfügen</translation>
    </message>
    <message>
        <source>Edit the colours kept for inks that no colour library knows
Custom Colors</source>
        <comment>32775</comment>
        <translation>Die Farben für Druckfarben bearbeiten, die keine Farbbibliothek kennt
Eigene Farben</translation>
    </message>
    <message>
        <source>Change the colours, units and opening options of the viewer
Preferences</source>
        <comment>32776</comment>
        <translation>Farben, Maßeinheiten und Optionen beim Öffnen ändern
Einstellungen</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle Toolbar</source>
        <comment>59392</comment>
        <translation>Die Symbolleiste ein- oder ausblenden
Symbolleiste ein/aus</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle Status Bar</source>
        <comment>59393</comment>
        <translation>Die Statusleiste ein- oder ausblenden
Statusleiste ein/aus</translation>
    </message>
    <message>
        <source>Show the sheet at eight times its output size
Zoom 8:1</source>
        <comment>32777</comment>
        <translation>Den Bogen achtfach vergrößert zeigen
Zoom 8:1</translation>
    </message>
    <message>
        <source>Show the sheet at four times its output size
Zoom 4:1</source>
        <comment>32778</comment>
        <translation>Den Bogen vierfach vergrößert zeigen
Zoom 4:1</translation>
    </message>
    <message>
        <source>Show the sheet at twice its output size
Zoom 2:1</source>
        <comment>32792</comment>
        <translation>Den Bogen doppelt vergrößert zeigen
Zoom 2:1</translation>
    </message>
    <message>
        <source>Show one screen pixel for each output pixel
Zoom 1:1</source>
        <comment>32793</comment>
        <translation>Ein Bildschirmpixel je Ausgabepixel zeigen
Zoom 1:1</translation>
    </message>
    <message>
        <source>Show the sheet at half its output size
Zoom 1:2</source>
        <comment>32794</comment>
        <translation>Den Bogen in halber Ausgabegröße zeigen
Zoom 1:2</translation>
    </message>
    <message>
        <source>Show the sheet at a quarter of its output size
Zoom 1:4</source>
        <comment>32795</comment>
        <translation>Den Bogen in einem Viertel der Ausgabegröße zeigen
Zoom 1:4</translation>
    </message>
    <message>
        <source>Show the sheet at an eighth of its output size
Zoom 1:8</source>
        <comment>32796</comment>
        <translation>Den Bogen in einem Achtel der Ausgabegröße zeigen
Zoom 1:8</translation>
    </message>
    <message>
        <source>Show the sheet at a sixteenth of its output size
Zoom 1:16</source>
        <comment>32797</comment>
        <translation>Den Bogen in einem Sechzehntel der Ausgabegröße zeigen
Zoom 1:16</translation>
    </message>
    <message>
        <source>Show the sheet at 1/32 of its output size
Zoom 1:32</source>
        <comment>32798</comment>
        <translation>Den Bogen in 1/32 der Ausgabegröße zeigen
Zoom 1:32</translation>
    </message>
    <message>
        <source>Show the sheet at 1/64 of its output size
Zoom 1:64</source>
        <comment>32799</comment>
        <translation>Den Bogen in 1/64 der Ausgabegröße zeigen
Zoom 1:64</translation>
    </message>
    <message>
        <source>Show the sheet at 1/128 of its output size
Zoom 1:128</source>
        <comment>32800</comment>
        <translation>Den Bogen in 1/128 der Ausgabegröße zeigen
Zoom 1:128</translation>
    </message>
    <message>
        <source>Show the sheet at 1/256 of its output size
Zoom 1:256</source>
        <comment>32801</comment>
        <translation>Den Bogen in 1/256 der Ausgabegröße zeigen
Zoom 1:256</translation>
    </message>
    <message>
        <source>Show the sheet at 1/512 of its output size
Zoom 1:512</source>
        <comment>32802</comment>
        <translation>Den Bogen in 1/512 der Ausgabegröße zeigen
Zoom 1:512</translation>
    </message>
    <message>
        <source>Show the sheet one zoom level larger
Zoom In</source>
        <comment>32803</comment>
        <translation>Den Bogen eine Zoomstufe größer zeigen
Vergrößern</translation>
    </message>
    <message>
        <source>Show the sheet one zoom level smaller
Zoom Out</source>
        <comment>32804</comment>
        <translation>Den Bogen eine Zoomstufe kleiner zeigen
Verkleinern</translation>
    </message>
    <message>
        <source>Show the whole sheet in the window
Fit To Window</source>
        <comment>32805</comment>
        <translation>Den ganzen Bogen im Fenster zeigen
An Fenster anpassen</translation>
    </message>
    <message>
        <source>Show or hide all imposition marks at once
Show Imposition</source>
        <comment>32806</comment>
        <translation>Alle Ausschießmarken auf einmal ein- oder ausblenden
Ausschießen zeigen</translation>
    </message>
    <message>
        <source>Show or hide the edge of the press sheet
Press Sheet Edge</source>
        <comment>32807</comment>
        <translation>Die Kante des Druckbogens ein- oder ausblenden
Druckbogenkante</translation>
    </message>
    <message>
        <source>Show or hide the bleed edges of the pages
Bleed Edge</source>
        <comment>32808</comment>
        <translation>Die Beschnittkanten der Seiten ein- oder ausblenden
Beschnittkante</translation>
    </message>
    <message>
        <source>Show or hide the trimmed edges of the pages
Page Edge</source>
        <comment>32809</comment>
        <translation>Die Endformatkanten der Seiten ein- oder ausblenden
Seitenkante</translation>
    </message>
    <message>
        <source>Show or hide the page numbers
Page Numbers</source>
        <comment>32810</comment>
        <translation>Die Seitennummern ein- oder ausblenden
Seitennummern</translation>
    </message>
    <message>
        <source>Display or hide source clip paths (if present)
Source Clip Path</source>
        <comment>32811</comment>
        <translation>Quell-Beschneidungspfade ein- oder ausblenden (falls vorhanden)
Quell-Beschneidungspfad</translation>
    </message>
    <message>
        <source>Align the back surface with the front by the plates
Backup Plates</source>
        <comment>32813</comment>
        <translation>Die Rückseite nach den Platten zur Vorderseite ausrichten
Widerdruck nach Platten</translation>
    </message>
    <message>
        <source>Align the back surface with the front by the press sheets
Backup Press Sheets</source>
        <comment>32814</comment>
        <translation>Die Rückseite nach den Druckbogen zur Vorderseite ausrichten
Widerdruck nach Druckbogen</translation>
    </message>
    <message>
        <source>Align the back surface with the front by the pages
Backup Pages</source>
        <comment>32815</comment>
        <translation>Die Rückseite nach den Seiten zur Vorderseite ausrichten
Widerdruck nach Seiten</translation>
    </message>
    <message>
        <source>Turn the sheet over to show the other surface
Flip Sheet</source>
        <comment>32816</comment>
        <translation>Den Bogen wenden, um die andere Seite zu zeigen
Bogen wenden</translation>
    </message>
    <message>
        <source>Make the surface facing you more opaque
More Opaque</source>
        <comment>32817</comment>
        <translation>Die Ihnen zugewandte Seite deckender machen
Deckender</translation>
    </message>
    <message>
        <source>Make the surface facing you less opaque to see the other surface
Less Opaque</source>
        <comment>32818</comment>
        <translation>Die Ihnen zugewandte Seite transparenter machen, um die andere Seite zu sehen
Transparenter</translation>
    </message>
    <message>
        <source>Drag the sheet to move it in the window
Pan Tool</source>
        <comment>32819</comment>
        <translation>Den Bogen mit der Maus im Fenster verschieben
Verschiebewerkzeug</translation>
    </message>
    <message>
        <source>Measure positions, distances and angles on the sheet
Measure Tool</source>
        <comment>32820</comment>
        <translation>Positionen, Abstände und Winkel auf dem Bogen messen
Messwerkzeug</translation>
    </message>
    <message>
        <source>Click to zoom in, drag a rectangle to zoom to it
Zoom Tool</source>
        <comment>32821</comment>
        <translation>Klicken zum Vergrößern, ein Rechteck ziehen zum Zoomen darauf
Zoomwerkzeug</translation>
    </message>
    <message>
        <source>Show or hide the navigation palette
Navigation Palette</source>
        <comment>32822</comment>
        <translation>Die Navigationspalette ein- oder ausblenden
Navigationspalette</translation>
    </message>
    <message>
        <source>Show or hide the separations palette
Separations Palette</source>
        <comment>32823</comment>
        <translation>Die Separationenpalette ein- oder ausblenden
Separationenpalette</translation>
    </message>
    <message>
        <source>Show or hide the measurement palette
Measurement Palette</source>
        <comment>32831</comment>
        <translation>Die Messpalette ein- oder ausblenden
Messpalette</translation>
    </message>
    <message>
        <source>Float the palettes along the left edge of the window
Float Left</source>
        <comment>32833</comment>
        <translation>Die Paletten schwebend am linken Fensterrand anordnen
Schwebend links</translation>
    </message>
    <message>
        <source>Float the palettes along the right edge of the window
Float Right</source>
        <comment>32835</comment>
        <translation>Die Paletten schwebend am rechten Fensterrand anordnen
Schwebend rechts</translation>
    </message>
    <message>
        <source>Dock the palettes in a column on the left side
Dock Left</source>
        <comment>32837</comment>
        <translation>Die Paletten in einer Spalte links andocken
Links andocken</translation>
    </message>
    <message>
        <source>Dock the palettes in a column on the right side
Dock Right</source>
        <comment>32840</comment>
        <translation>Die Paletten in einer Spalte rechts andocken
Rechts andocken</translation>
    </message>
    <message>
        <source>Arrange the job windows so that they overlap
Cascade Windows</source>
        <comment>57650</comment>
        <translation>Die Auftragsfenster überlappend anordnen
Überlappend</translation>
    </message>
    <message>
        <source>Arrange the job windows one above the other
Tile Horizontally</source>
        <comment>32861</comment>
        <translation>Die Auftragsfenster untereinander anordnen
Untereinander</translation>
    </message>
    <message>
        <source>Arrange the job windows side by side
Tile Vertically</source>
        <comment>32862</comment>
        <translation>Die Auftragsfenster nebeneinander anordnen
Nebeneinander</translation>
    </message>
    <message>
        <source>Close every job and keep one empty job window
Close All Jobs</source>
        <comment>32867</comment>
        <translation>Alle Aufträge schließen und ein leeres Auftragsfenster behalten
Alle Aufträge schließen</translation>
    </message>
    <message>
        <source>Open the Quor KRN user guide
Help</source>
        <comment>32876</comment>
        <translation>Das Quor KRN-Benutzerhandbuch öffnen
Hilfe</translation>
    </message>
    <message>
        <source>Show the program information, version number and copyright
About</source>
        <comment>57664</comment>
        <translation>Programminformationen, Versionsnummer und Copyright anzeigen
Info</translation>
    </message>
    <message>
        <source>One file was not added to this surface since it is not a valid preview file.</source>
        <comment>140</comment>
        <translation>Eine Datei wurde dieser Seite nicht hinzugefügt, da sie keine gültige Vorschaudatei ist.</translation>
    </message>
    <message>
        <source>This file is missing job information or it does not appear to be a TIFF file.</source>
        <comment>142</comment>
        <translation>Dieser Datei fehlen Auftragsinformationen, oder sie scheint keine TIFF-Datei zu sein.</translation>
    </message>
    <message>
        <source>%i files were not added to this surface since they are not valid preview files.</source>
        <comment>143</comment>
        <translation>%i Dateien wurden dieser Seite nicht hinzugefügt, da sie keine gültigen Vorschaudateien sind.</translation>
    </message>
    <message>
        <source>These files are missing job information or they do not appear to be TIFF files.</source>
        <comment>145</comment>
        <translation>Diesen Dateien fehlen Auftragsinformationen, oder sie scheinen keine TIFF-Dateien zu sein.</translation>
    </message>
    <message>
        <source>Front Surface</source>
        <comment>162</comment>
        <translation>Vorderseite</translation>
    </message>
    <message>
        <source>Back Surface</source>
        <comment>164</comment>
        <translation>Rückseite</translation>
    </message>
    <message>
        <source>Color</source>
        <comment>184</comment>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Filename</source>
        <comment>185</comment>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Invalid Preview Files Encountered</source>
        <comment>189</comment>
        <translation>Ungültige Vorschaudateien gefunden</translation>
    </message>
    <message>
        <source>Explanation</source>
        <comment>190</comment>
        <translation>Erklärung</translation>
    </message>
    <message>
        <source>Front</source>
        <comment>163</comment>
        <translation>Vorne</translation>
    </message>
    <message>
        <source>Back</source>
        <comment>165</comment>
        <translation>Hinten</translation>
    </message>
    <message>
        <source>Custom Colors Not Saved</source>
        <comment>1850</comment>
        <translation>Eigene Farben nicht gespeichert</translation>
    </message>
    <message>
        <source>The custom colors could not be written to their file. They are kept until Quor KRN is closed.</source>
        <comment>1851</comment>
        <translation>Die eigenen Farben konnten nicht in ihre Datei geschrieben werden. Sie bleiben erhalten, bis Quor KRN beendet wird.</translation>
    </message>
    <message>
        <source>Edit Custom Colors</source>
        <comment>1852</comment>
        <translation>Eigene Farben bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <comment>1853</comment>
        <translation>&amp;Bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <comment>1854</comment>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Read the coverage of each ink and the total under the pointer; click to keep the reading
Densitometer</source>
        <comment>33231</comment>
        <translation>Flächendeckung jeder Farbe und die Summe unter dem Zeiger messen; Klicken hält die Messung fest
Densitometer</translation>
    </message>
    <message>
        <source>Hatch the areas whose total ink coverage exceeds the ink limit
Ink Limit</source>
        <comment>33232</comment>
        <translation>Flächen schraffieren, deren Gesamtfarbauftrag das Farbauftragslimit überschreitet
Farbauftragslimit</translation>
    </message>
    <message>
        <source>Show the coverage of each ink per ink zone of the press
Ink Zones</source>
        <comment>33233</comment>
        <translation>Flächendeckung jeder Farbe je Farbzone der Druckmaschine zeigen
Farbzonen</translation>
    </message>
    <message>
        <source>Total</source>
        <comment>2301</comment>
        <translation>Summe</translation>
    </message>
    <message>
        <source>Densitometer (%1 mm): %2</source>
        <comment>2302</comment>
        <translation>Densitometer-Messung (%1 mm): %2</translation>
    </message>
    <message>
        <source>Densitometer Readings</source>
        <comment>2303</comment>
        <translation>Densitometermessungen</translation>
    </message>
    <message>
        <source>Ink</source>
        <comment>2304</comment>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Position</source>
        <comment>2305</comment>
        <translation>Messort</translation>
    </message>
    <message>
        <source>Clear</source>
        <comment>2306</comment>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Ink Zones</source>
        <comment>2307</comment>
        <translation>Farbzonen</translation>
    </message>
    <message>
        <source>Zones:</source>
        <comment>2308</comment>
        <translation>Zonen:</translation>
    </message>
    <message>
        <source>Zone width:</source>
        <comment>2309</comment>
        <translation>Zonenbreite:</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <comment>2310</comment>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Counting the ink zones...</source>
        <comment>2311</comment>
        <translation>Die Farbzonen werden gezählt...</translation>
    </message>
    <message>
        <source>The ink zones could not be counted: %1</source>
        <comment>2580</comment>
        <translation>Die Farbzonen konnten nicht gezählt werden: %1</translation>
    </message>
    <message>
        <source>Zone</source>
        <comment>2312</comment>
        <translation>Farbzone</translation>
    </message>
    <message>
        <source>Coverage (%)</source>
        <comment>2313</comment>
        <translation>Flächendeckung (%)</translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <comment>2314</comment>
        <translation>Die Datei %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>CSV files (*.csv *.CSV)</source>
        <comment>2315</comment>
        <translation>CSV-Dateien (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>Densitometer: outside the picture</source>
        <comment>2316</comment>
        <translation>Densitometer: außerhalb des Bildes</translation>
    </message>
    <message>
        <source>Ink limit area</source>
        <comment>2317</comment>
        <translation>Messfläche des Farbauftragslimits</translation>
    </message>
    <message>
        <source>Ink zone presets</source>
        <comment>2318</comment>
        <translation>Farbzonen-Vorgaben</translation>
    </message>
    <message>
        <source>Name</source>
        <comment>2319</comment>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Zone width (mm)</source>
        <comment>2320</comment>
        <translation>Zonenbreite (mm)</translation>
    </message>
    <message>
        <source>Zones</source>
        <comment>2321</comment>
        <translation>Zonen</translation>
    </message>
    <message>
        <source>Add</source>
        <comment>2322</comment>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <comment>2323</comment>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>%1 x %2 mm</source>
        <comment>2324</comment>
        <translation>%1 × %2 mm</translation>
    </message>
    <message>
        <source>From %1 to %2</source>
        <comment>2325</comment>
        <translation>Von %1 bis %2</translation>
    </message>
    <message>
        <source>Sheet centre offset:</source>
        <comment>2326</comment>
        <translation>Versatz der Bogenmitte:</translation>
    </message>
    <message>
        <source>Press:</source>
        <comment>2327</comment>
        <translation>Maschine:</translation>
    </message>
    <message>
        <source>Other press</source>
        <comment>2328</comment>
        <translation>Andere Maschine</translation>
    </message>
    <message>
        <source>%1 zones of %2 mm (%3 mm), the sheet's centre %4 mm from the press's centre: the plate (%5 mm) lies in zones %6 to %7.</source>
        <comment>2329</comment>
        <translation>%1 Zonen zu %2 mm (%3 mm), Bogenmitte %4 mm neben der Maschinenmitte: die Platte (%5 mm) liegt in den Zonen %6 bis %7.</translation>
    </message>
    <message>
        <source>%1 zones of %2 mm (%3 mm), the sheet's centre %4 mm from the press's centre: no zone meets the plate (%5 mm).</source>
        <comment>2340</comment>
        <translation>%1 Zonen zu %2 mm (%3 mm), Bogenmitte %4 mm neben der Maschinenmitte: keine Zone trifft die Platte (%5 mm).</translation>
    </message>
    <message>
        <source>The picture has no resolution: zones in millimetres cannot be placed on it.</source>
        <comment>2341</comment>
        <translation>Das Bild hat keine Auflösung: Zonen in Millimetern lassen sich nicht darauf legen.</translation>
    </message>
    <message>
        <source>%1 signature %2 web %3 %4 ink zones</source>
        <comment>2342</comment>
        <translation>%1 Signatur %2 Bahn %3 %4 Farbzonen</translation>
    </message>
    <message>
        <source>Ink limit: %1 tiles could not be read and count as no ink</source>
        <comment>2343</comment>
        <translation>Farbauftragslimit: %1 Kacheln waren nicht lesbar und zählen ohne Farbe</translation>
    </message>
    <message>
        <source>Span the plate</source>
        <comment>2344</comment>
        <translation>Platte abdecken</translation>
    </message>
    <message>
        <source>Drawing: %1 of %2 tiles</source>
        <comment>2330</comment>
        <translation>Bildaufbau: %1 von %2 Kacheln</translation>
    </message>
    <message>
        <source>Compare the sheet with another version of the job: what changed shows in colour, the rest faded
Compare With</source>
        <comment>33240</comment>
        <translation>Den Bogen mit einer anderen Fassung des Auftrags vergleichen: Geändertes erscheint farbig, das Übrige blass
Vergleichen mit</translation>
    </message>
    <message>
        <source>Centre the view on the next changed region
Next Difference</source>
        <comment>33241</comment>
        <translation>Die Ansicht auf den nächsten geänderten Bereich zentrieren
Nächster Unterschied</translation>
    </message>
    <message>
        <source>Centre the view on the previous changed region
Previous Difference</source>
        <comment>33242</comment>
        <translation>Die Ansicht auf den vorigen geänderten Bereich zentrieren
Voriger Unterschied</translation>
    </message>
    <message>
        <source>Show the sheet itself again, without the comparison
Compare Off</source>
        <comment>33243</comment>
        <translation>Den Bogen wieder selbst zeigen, ohne Vergleich
Vergleich beenden</translation>
    </message>
    <message>
        <source>Compare With</source>
        <comment>2450</comment>
        <translation>Vergleichen mit</translation>
    </message>
    <message>
        <source>None of the chosen files is a preview file.</source>
        <comment>2451</comment>
        <translation>Keine der gewählten Dateien ist eine Vorschaudatei.</translation>
    </message>
    <message>
        <source>The other version has no sheet %1.</source>
        <comment>2452</comment>
        <translation>Die andere Fassung hat keinen Bogen %1.</translation>
    </message>
    <message>
        <source>Sheets are matched by job title, signature and web.</source>
        <comment>2453</comment>
        <translation>Bogen werden nach Auftragstitel, Signatur und Bahn zugeordnet.</translation>
    </message>
    <message>
        <source>Comparing: %1 of %2 separations counted</source>
        <comment>2454</comment>
        <translation>Vergleich: %1 von %2 Auszügen gezählt</translation>
    </message>
    <message>
        <source>%1 pixels added, %2 removed, %3 changed regions</source>
        <comment>2455</comment>
        <translation>%1 Pixel hinzugekommen, %2 entfallen, %3 geänderte Bereiche</translation>
    </message>
    <message>
        <source>Region %1 of %2</source>
        <comment>2456</comment>
        <translation>Bereich %1 von %2</translation>
    </message>
    <message>
        <source>No difference to the other version</source>
        <comment>2457</comment>
        <translation>Kein Unterschied zur anderen Fassung</translation>
    </message>
    <message>
        <source>%1 inks in one version only</source>
        <comment>2458</comment>
        <translation>%1 Farben nur in einer Fassung</translation>
    </message>
    <message>
        <source>%1 inks not comparable</source>
        <comment>2459</comment>
        <translation>%1 Farben nicht vergleichbar</translation>
    </message>
    <message>
        <source>%1 tiles could not be decoded</source>
        <comment>2460</comment>
        <translation>%1 Kacheln konnten nicht dekodiert werden</translation>
    </message>
    <message>
        <source>Added Pixels</source>
        <comment>2461</comment>
        <translation>Hinzugekommene Pixel</translation>
    </message>
    <message>
        <source>Removed Pixels</source>
        <comment>2462</comment>
        <translation>Entfallene Pixel</translation>
    </message>
    <message>
        <source>Choose the preview files of the other version of the job.</source>
        <comment>2464</comment>
        <translation>Wählen Sie die Vorschaudateien der anderen Fassung des Auftrags.</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <comment>2500</comment>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <comment>2501</comment>
        <translation>Ordner: %1</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 files</source>
        <comment>2502</comment>
        <translation>Angehalten nach %1 von %2 Dateien</translation>
    </message>
    <message>
        <source>Write the shown sheet as an ink presetting file for the press (CIP3 PPF)
Export Ink Presetting</source>
        <comment>33236</comment>
        <translation>Den gezeigten Bogen als Datei zur Farbvoreinstellung der Druckmaschine schreiben (CIP3 PPF)
Farbvoreinstellung exportieren</translation>
    </message>
    <message>
        <source>Export Ink Presetting</source>
        <comment>2400</comment>
        <translation>Farbvoreinstellung exportieren</translation>
    </message>
    <message>
        <source>Ink presetting files (*.ppf *.PPF)</source>
        <comment>2401</comment>
        <translation>Dateien zur Farbvoreinstellung (*.ppf *.PPF)</translation>
    </message>
    <message>
        <source>Writing the ink presetting file %1: %2 %</source>
        <comment>2402</comment>
        <translation>Datei zur Farbvoreinstellung %1 wird geschrieben: %2 %</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>2403</comment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Ink presetting file written: %1</source>
        <comment>2404</comment>
        <translation>Datei zur Farbvoreinstellung geschrieben: %1</translation>
    </message>
    <message>
        <source>Ink presetting export cancelled; nothing was written</source>
        <comment>2405</comment>
        <translation>Export der Farbvoreinstellung abgebrochen; es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>The ink presetting file %1 could not be written.</source>
        <comment>2406</comment>
        <translation>Die Datei zur Farbvoreinstellung %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The ink presetting file %1 was written, but %2 source tiles could not be read and count as no ink:</source>
        <comment>2407</comment>
        <translation>Die Datei zur Farbvoreinstellung %1 wurde geschrieben, aber %2 Kacheln der Quelldateien konnten nicht gelesen werden und zählen als ohne Farbe:</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <comment>2408</comment>
        <translation>... und %1 weitere</translation>
    </message>
    <message>
        <source>Preferences Not Saved</source>
        <comment>2550</comment>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <source>The preferences could not be written to their file, which keeps its earlier contents. The changes stay in effect until Quor KRN is closed.</source>
        <comment>2551</comment>
        <translation>Die Einstellungen konnten nicht in ihre Datei geschrieben werden; die Datei behält ihren bisherigen Inhalt. Die Änderungen gelten, bis Quor KRN beendet wird.</translation>
    </message>
    <message>
        <source>The preferences could not be written to their file, which keeps its earlier contents. The changes made since Quor KRN was started are lost.</source>
        <comment>2552</comment>
        <translation>Die Einstellungen konnten nicht in ihre Datei geschrieben werden; die Datei behält ihren bisherigen Inhalt. Die Änderungen seit dem Start von Quor KRN gehen verloren.</translation>
    </message>
</context>
<context>
    <name>WKRN_FileListTexts</name>
    <message>
        <source>Add...</source>
        <translation>Hinzufügen...</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Invalid Files</source>
        <translation>Ungültige Dateien</translation>
    </message>
    <message>
        <source>Preview File</source>
        <translation>Vorschaudatei</translation>
    </message>
    <message>
        <source>Corvane TIFF</source>
        <translation>Corvane TIFF</translation>
    </message>
    <message>
        <source>Required TIFF tag is either missing or invalid</source>
        <translation>Ein erforderliches TIFF-Tag fehlt oder ist ungültig</translation>
    </message>
</context>
<context>
    <name>CColorButton</name>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>More Colors...</source>
        <translation>Weitere Farben...</translation>
    </message>
</context>
<context>
    <name>WKRN_PreferencesDialog</name>
    <message>
        <source>Ink Coverage</source>
        <translation>Flächendeckung</translation>
    </message>
    <message>
        <source>Densitometer Aperture</source>
        <translation>Messfeld des Densitometers</translation>
    </message>
    <message>
        <source>Ink Limit</source>
        <translation>Farbauftragslimit</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Sheet</source>
        <translation>Bogen</translation>
    </message>
    <message>
        <source>Imposition</source>
        <translation>Ausschießen</translation>
    </message>
    <message>
        <source>Press Sheet Edge</source>
        <translation>Druckbogenkante</translation>
    </message>
    <message>
        <source>Bleed Edges</source>
        <translation>Beschnittkanten</translation>
    </message>
    <message>
        <source>Page Edges and Numbers</source>
        <translation>Seitenkanten und Seitenzahlen</translation>
    </message>
    <message>
        <source>Show Imposition when job opened</source>
        <translation>Ausschießen beim Öffnen eines Auftrags zeigen</translation>
    </message>
    <message>
        <source>Default Colors</source>
        <translation>Standardfarben</translation>
    </message>
    <message>
        <source>Unknown Inks</source>
        <translation>Unbekannte Farben</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Tile Memory per Surface</source>
        <translation>Kachelspeicher je Bogenseite</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> MiB</translation>
    </message>
    <message>
        <source>Memory for the tiles of each surface shown; beyond it, tiles not on screen are made again when needed</source>
        <translation>Speicher für die Kacheln jeder gezeigten Bogenseite; darüber hinaus werden Kacheln außerhalb des Bildschirms bei Bedarf neu erzeugt</translation>
    </message>
    <message>
        <source>Navigation Palette Colors</source>
        <translation>Farben der Navigationspalette</translation>
    </message>
    <message>
        <source>Outline</source>
        <translation>Rahmen</translation>
    </message>
    <message>
        <source>Fog</source>
        <translation>Schleier</translation>
    </message>
    <message>
        <source>Zoom to Fit Window when job opened</source>
        <translation>Beim Öffnen eines Auftrags in Fenster einpassen</translation>
    </message>
    <message>
        <source>Linear Units</source>
        <translation>Längeneinheiten</translation>
    </message>
    <message>
        <source>Linear Precision</source>
        <translation>Genauigkeit der Längen</translation>
    </message>
    <message>
        <source>Angular Precision</source>
        <translation>Genauigkeit der Winkel</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Beispiel</translation>
    </message>
</context>
<context>
    <name>WKRN_RegistryTexts</name>
    <message>
        <source>Impositions</source>
        <translation>Ausschießschemata</translation>
    </message>
    <message>
        <source>&amp;Rescan</source>
        <translation>&amp;Neu einlesen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
</context>
</TS>
