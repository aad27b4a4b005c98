<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LPracticePanel</name>
    <message>
        <source>Tap</source>
        <translation>Tippen</translation>
    </message>
    <message>
        <source>Tap the tempo: two taps or more set it (T)</source>
        <translation>Tempo tippen: ab zwei Schlägen wird es übernommen (T)</translation>
    </message>
    <message>
        <source>&amp;Practice</source>
        <translation>&amp;Üben</translation>
    </message>
    <message>
        <source>Count-in, speed trainer, gap trainer, random mute and practice timer</source>
        <translation>Einzählen, Tempotrainer, Pausentrainer, Zufallsstille und Übungszeit</translation>
    </message>
    <message>
        <source> bars</source>
        <translation> Takte</translation>
    </message>
    <message>
        <source>Bars of beats before the first bar, on every Play</source>
        <translation>Takte mit Schlägen vor dem ersten Takt, bei jedem Start</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Count-in:</source>
        <translation>Einzählen:</translation>
    </message>
    <message>
        <source>Speed trainer:</source>
        <translation>Tempotrainer:</translation>
    </message>
    <message>
        <source> bpm</source>
        <translation> bpm</translation>
    </message>
    <message>
        <source>Tempo of the first bars (and of the count-in)</source>
        <translation>Tempo der ersten Takte (und des Einzählens)</translation>
    </message>
    <message>
        <source>Tempo to reach; below the start, the tempo falls</source>
        <translation>Zieltempo; liegt es unter dem Anfang, wird es langsamer</translation>
    </message>
    <message>
        <source>Change at each step</source>
        <translation>Änderung bei jedem Schritt</translation>
    </message>
    <message>
        <source>Bars at each tempo</source>
        <translation>Takte je Tempo</translation>
    </message>
    <message>
        <source>then hold</source>
        <translation>dann halten</translation>
    </message>
    <message>
        <source>then stop</source>
        <translation>dann anhalten</translation>
    </message>
    <message>
        <source>At the end tempo: keep playing, or stop after its bars</source>
        <translation>Beim Zieltempo: weiterspielen oder nach seinen Takten anhalten</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>by</source>
        <translation>um</translation>
    </message>
    <message>
        <source>every</source>
        <translation>alle</translation>
    </message>
    <message>
        <source>Gap trainer:</source>
        <translation>Pausentrainer:</translation>
    </message>
    <message>
        <source> played</source>
        <translation> gespielt</translation>
    </message>
    <message>
        <source>Bars heard</source>
        <translation>Hörbare Takte</translation>
    </message>
    <message>
        <source> muted</source>
        <translation> stumm</translation>
    </message>
    <message>
        <source>Bars silent, while the light and counter go on</source>
        <translation>Stumme Takte, während Licht und Zähler weiterlaufen</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Chance that a beat after the count-in is silent</source>
        <translation>Wahrscheinlichkeit, dass ein Schlag nach dem Einzählen stumm bleibt</translation>
    </message>
    <message>
        <source>Random mute:</source>
        <translation>Zufallsstille:</translation>
    </message>
    <message>
        <source>Stop after:</source>
        <translation>Anhalten nach:</translation>
    </message>
    <message>
        <source>Practice time after which playing stops (hours:minutes:seconds)</source>
        <translation>Übungszeit, nach der das Spielen endet (Stunden:Minuten:Sekunden)</translation>
    </message>
    <message>
        <source>Count-in %1</source>
        <translation>Einzählen %1</translation>
    </message>
    <message>
        <source>Speed %1→%2 by %3 every %4</source>
        <translation>Tempo %1→%2 um %3 alle %4</translation>
    </message>
    <message>
        <source>Gap %1:%2</source>
        <translation>Pause %1:%2</translation>
    </message>
    <message>
        <source>Random mute %1 %</source>
        <translation>Zufallsstille %1 %</translation>
    </message>
    <message>
        <source>Stop after %1</source>
        <translation>Anhalten nach %1</translation>
    </message>
    <message>
        <source>Count-in %1 of %2</source>
        <translation>Einzählen %1 von %2</translation>
    </message>
    <message>
        <source>Bar %1  Beat %2</source>
        <translation>Takt %1  Schlag %2</translation>
    </message>
    <message>
        <source> (muted)</source>
        <translation> (stumm)</translation>
    </message>
    <message numerus="yes">
        <source>%1 → %2 in %n bar(s)</source>
        <translation>
            <numerusform>%1 → %2 in %n Takt</numerusform>
            <numerusform>%1 → %2 in %n Takten</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 bpm</source>
        <translation>%1 bpm</translation>
    </message>
    <message>
        <source>%1 of %2, %3 left</source>
        <translation>%1 von %2, noch %3</translation>
    </message>
    <message>
        <source>Session %1</source>
        <translation>Übung %1</translation>
    </message>
</context>
<context>
    <name>MorvaneMain</name>
    <message>
        <source>usage: morvane [Qt options]
       morvane --help | --version
A desktop metronome. It takes no options of its own: set tempo, measure,
subdivision and volume in its window; every setting is kept for the next start.
</source>
        <translation>Aufruf: morvane [Qt-Optionen]
       morvane --help | --version
Ein Metronom für den Schreibtisch. Es hat keine eigenen Optionen: Tempo, Taktart,
Unterteilung und Lautstärke werden im Fenster eingestellt; jede Einstellung bleibt
für den nächsten Start erhalten.
</translation>
    </message>
</context>
</TS>
