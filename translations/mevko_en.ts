<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>ExportDlg</name>
    <message>
        <source>&lt; ! &gt; 出力する画像がありません</source>
        <translation>&lt; ! &gt; There are no images to export</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 結合する枚数を指定してください</source>
        <translation>&lt; ! &gt; Set how many images to combine</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 画像が大きすぎます(%1 x %2 / 最大 %3 x %4)</source>
        <translation>&lt; ! &gt; The image is too large (%1 x %2 / at most %3 x %4)</translation>
    </message>
    <message>
        <source>&lt; ! &gt; GIFが大きすぎます(%1 x %2 / 最大 %3 x %4)</source>
        <translation>&lt; ! &gt; The GIF is too large (%1 x %2 / at most %3 x %4)</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 画像が多すぎます(最大 %1 枚)</source>
        <translation>&lt; ! &gt; Too many images (at most %1)</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 画像出力に失敗しました</source>
        <translation>&lt; ! &gt; Image export failed</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>画像出力(&amp;G)</source>
        <translation>Export &amp;Images</translation>
    </message>
    <message>
        <source>PNG(&amp;P)</source>
        <translation>&amp;PNG...</translation>
    </message>
    <message>
        <source>アニメーションGIF(&amp;G)</source>
        <translation>Animated &amp;GIF...</translation>
    </message>
    <message>
        <source>クリップボードに出力(&amp;I)</source>
        <translation>Export to Clipboar&amp;d</translation>
    </message>
    <message>
        <source>RPGツクール2000(&amp;S)</source>
        <translation>RPG Maker 2000(&amp;S)</translation>
    </message>
    <message>
        <source>RPGツクール2003(&amp;T)</source>
        <translation>RPG Maker 2003(&amp;T)</translation>
    </message>
    <message>
        <source>RPGツクールXP(&amp;X)</source>
        <translation>RPG Maker XP(&amp;X)</translation>
    </message>
    <message>
        <source>RPGツクールVX(&amp;V)</source>
        <translation>RPG Maker VX(&amp;V)</translation>
    </message>
    <message>
        <source>RPGツクールVX Ace(&amp;A)</source>
        <translation>RPG Maker VX Ace(&amp;A)</translation>
    </message>
    <message>
        <source>RPGツクールMV(&amp;M)</source>
        <translation>RPG Maker MV(&amp;M)</translation>
    </message>
    <message>
        <source>RPGツクールMZ(&amp;Z)</source>
        <translation>RPG Maker MZ(&amp;Z)</translation>
    </message>
    <message>
        <source>クリップボードから取り込む(&amp;E)</source>
        <translation>Import from Clipboard(&amp;E)</translation>
    </message>
    <message>
        <source>RPGツクールXP / VX / VX Ace(&amp;X)</source>
        <translation>RPG Maker XP / VX / VX Ace(&amp;X)</translation>
    </message>
    <message>
        <source>RPGツクールMV / MZ(&amp;M)</source>
        <translation>RPG Maker MV / MZ(&amp;M)</translation>
    </message>
    <message>
        <source>閉じる(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直す(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>全て選択(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>選択セルを補完</source>
        <translation>Interpolate Selected Cells</translation>
    </message>
    <message>
        <source>セル一括設定(&amp;C)</source>
        <translation>Edit &amp;Cells at Once...</translation>
    </message>
    <message>
        <source>プロジェクト(&amp;S)</source>
        <translation>Project &amp;Settings...</translation>
    </message>
    <message>
        <source>セル番号と画像(&amp;F)</source>
        <translation>Cell Numbers and Pictures(&amp;F)...</translation>
    </message>
    <message>
        <source>フレーム(&amp;R)</source>
        <translation>F&amp;rame</translation>
    </message>
    <message>
        <source>次のフレームへ(&amp;N)</source>
        <translation>&amp;Next Frame</translation>
    </message>
    <message>
        <source>前のフレームへ(&amp;B)</source>
        <translation>Previous Frame(&amp;B)</translation>
    </message>
    <message>
        <source>最初のフレームへ(&amp;F)</source>
        <translation>&amp;First Frame</translation>
    </message>
    <message>
        <source>最後のフレームへ(&amp;L)</source>
        <translation>&amp;Last Frame</translation>
    </message>
    <message>
        <source>挿入(&amp;I)</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>初期化(&amp;C)</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>次フレームから転送(&amp;N)</source>
        <translation>Copy from &amp;Next Frame</translation>
    </message>
    <message>
        <source>前フレームから転送(&amp;B)</source>
        <translation>Copy from Previous Frame(&amp;B)</translation>
    </message>
    <message>
        <source>前後フレームで補完(&amp;M)</source>
        <translation>Interpolate from Neighbours(&amp;M)</translation>
    </message>
    <message>
        <source>フレーム補完(&amp;F)</source>
        <translation>Interpolate &amp;Frames...</translation>
    </message>
    <message>
        <source>インターバル一括設定(&amp;I)</source>
        <translation>Set &amp;Intervals...</translation>
    </message>
    <message>
        <source>自動でフレームを追加する(&amp;A)</source>
        <translation>&amp;Add Frames Automatically</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>次のフレームを描画(&amp;N)</source>
        <translation>Show &amp;Next Frame</translation>
    </message>
    <message>
        <source>前のフレームを描画(&amp;B)</source>
        <translation>Show Previous Frame(&amp;B)</translation>
    </message>
    <message>
        <source>現在のフレームの枠を描画(&amp;N)</source>
        <translation>Show Current Frame Outlines(&amp;N)</translation>
    </message>
    <message>
        <source>半透明で表す(&amp;O)</source>
        <translation>Translucent Neighb&amp;ours</translation>
    </message>
    <message>
        <source>軌跡(&amp;L)</source>
        <translation>Motion Paths(&amp;L)</translation>
    </message>
    <message>
        <source>効果の対象(&amp;E)</source>
        <translation>Effect Target(&amp;E)</translation>
    </message>
    <message>
        <source>ＧＩＦ(&amp;G)</source>
        <translation>&amp;GIF</translation>
    </message>
    <message>
        <source>グリッド(&amp;R)</source>
        <translation>G&amp;rid</translation>
    </message>
    <message>
        <source>対象画像(&amp;T)</source>
        <translation>&amp;Target Picture...</translation>
    </message>
    <message>
        <source>下書き用GIF(&amp;G)</source>
        <translation>Draft &amp;GIF...</translation>
    </message>
    <message>
        <source>セルを縦に並べる(&amp;V)</source>
        <translation>Cells &amp;Vertically</translation>
    </message>
    <message>
        <source>リストウィンドウを表示(&amp;R)</source>
        <translation>List Window(&amp;R)</translation>
    </message>
    <message>
        <source>パレットウィンドウを表示(&amp;P)</source>
        <translation>&amp;Palette Window</translation>
    </message>
    <message>
        <source>ステータスバーを表示(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>ツールバーを表示(&amp;O)</source>
        <translation>T&amp;oolbar</translation>
    </message>
    <message>
        <source>ツール(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>最初から再生(&amp;L)</source>
        <translation>Play from the Beginning(&amp;L)</translation>
    </message>
    <message>
        <source>繰り返し(&amp;L)</source>
        <translation>&amp;Loop</translation>
    </message>
    <message>
        <source>折り返し(&amp;T)</source>
        <translation>Bounce(&amp;T)</translation>
    </message>
    <message>
        <source>効果音(&amp;S)</source>
        <translation>&amp;Sound Effects</translation>
    </message>
    <message>
        <source>点滅(&amp;F)</source>
        <translation>&amp;Flash</translation>
    </message>
    <message>
        <source>再生する度に効果音を読み込む(&amp;R)</source>
        <translation>&amp;Reload Sounds on Every Play</translation>
    </message>
    <message>
        <source>再生が終わったらセルを消去(&amp;D)</source>
        <translation>Clear Cells When Playback Ends(&amp;D)</translation>
    </message>
    <message>
        <source>移動(&amp;M)</source>
        <translation>&amp;Move</translation>
    </message>
    <message>
        <source>振り回し(&amp;S)</source>
        <translation>&amp;Swing</translation>
    </message>
    <message>
        <source>スプライン曲線(&amp;B)</source>
        <translation>Spline Curve(&amp;B)</translation>
    </message>
    <message>
        <source>カレントフォルダを開く(&amp;F)</source>
        <translation>Open Current &amp;Folder</translation>
    </message>
    <message>
        <source>エディタ設定(&amp;E)</source>
        <translation>&amp;Editor Settings...</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>フレーム補完(&amp;M)</source>
        <translation>Interpolate Frames(&amp;M)...</translation>
    </message>
    <message>
        <source>一括編集(&amp;O)</source>
        <translation>Edit at Once(&amp;O)...</translation>
    </message>
    <message>
        <source>再生範囲に設定(&amp;A)</source>
        <translation>Set as Play R&amp;ange</translation>
    </message>
    <message>
        <source>ドラッグ範囲に設定(&amp;G)</source>
        <translation>Set as Dra&amp;g Range</translation>
    </message>
    <message>
        <source>パラメータ(&amp;S)</source>
        <translation>Parameter&amp;s...</translation>
    </message>
    <message>
        <source>新規(&amp;I)</source>
        <translation>New(&amp;I)</translation>
    </message>
    <message>
        <source>手前へ(&amp;U)</source>
        <translation>Bring Forward(&amp;U)</translation>
    </message>
    <message>
        <source>背面へ(&amp;L)</source>
        <translation>Send Backward(&amp;L)</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>再読込(&amp;R)</source>
        <translation>&amp;Reload</translation>
    </message>
    <message>
        <source>追加(&amp;I)</source>
        <translation>Add(&amp;I)</translation>
    </message>
    <message>
        <source>インターバル(&amp;S)</source>
        <translation>Interval(&amp;S)...</translation>
    </message>
    <message>
        <source>中間セル挿入(A)</source>
        <translation>Insert In-between Cell(A)</translation>
    </message>
    <message>
        <source>使う画像を固定する(&amp;S)</source>
        <translation>Fix the Picture Used(&amp;S)...</translation>
    </message>
    <message>
        <source>最近使ったファイル(&amp;R)</source>
        <translation>&amp;Recent Files</translation>
    </message>
    <message>
        <source>ゲームのデータから開く(&amp;D)...</source>
        <translation>Open from &amp;Game Data...</translation>
    </message>
    <message>
        <source>ゲームのデータへ書き戻す(&amp;W)</source>
        <translation>&amp;Write Back to Game Data</translation>
    </message>
    <message>
        <source>ゲームのデータへ書き出す(&amp;B)...</source>
        <translation>Write to Game &amp;Data...</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>最大 %1 バイト</source>
        <translation>At most %1 bytes</translation>
    </message>
</context>
<context>
    <name>Strings</name>
    <message>
        <source>復元</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>復元に失敗しました。
%s</source>
        <translation>Could not restore the work.
%s</translation>
    </message>
    <message>
        <source>[%d] : 手前へ</source>
        <translation>[%d] : brought forward</translation>
    </message>
    <message>
        <source>[%d] : 背面へ</source>
        <translation>[%d] : sent backward</translation>
    </message>
    <message>
        <source>フレーム処理に不備があるようです。
復帰を試みますが、履歴がリセットされます。</source>
        <translation>The frames seem to be in a bad state.
The editor will try to recover; the undo history will be reset.</translation>
    </message>
    <message>
        <source>長すぎるテキストを %zu バイト以内に切りました</source>
        <translation>A text that was too long was cut to at most %zu bytes</translation>
    </message>
    <message>
        <source>%s : %s は %s で表せません</source>
        <translation>%s : %s cannot be written in %s</translation>
    </message>
    <message>
        <source>%s : %zu バイト (最大 %zu)</source>
        <translation>%s : %zu bytes (at most %zu)</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>sound effect</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>name</translation>
    </message>
    <message>
        <source>画像</source>
        <translation>picture</translation>
    </message>
    <message>
        <source>MevkoEditor</source>
        <translation>MevkoEditor</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>画像(*.bmp,gif,png,xyz)</source>
        <translation>Pictures(*.bmp,gif,png,xyz)</translation>
    </message>
    <message>
        <source>効果音(*.wmv,wav,ogg,mp3)</source>
        <translation>Sound effects(*.wmv,wav,ogg,mp3)</translation>
    </message>
    <message>
        <source>アニメーション(*.txt,dat)</source>
        <translation>Animations(*.txt,dat)</translation>
    </message>
    <message>
        <source>RPGツクール2000 [戦闘アニメ]</source>
        <translation>RPG Maker 2000 [battle animation]</translation>
    </message>
    <message>
        <source>新規,ペースト</source>
        <translation>New,Paste</translation>
    </message>
    <message>
        <source>作成に失敗しました。
%s</source>
        <translation>Could not create it.
%s</translation>
    </message>
    <message>
        <source>作業フォルダ [%s] を生成しますか？</source>
        <translation>Create the working folder [%s]?</translation>
    </message>
    <message>
        <source>内容が変更されています。
保存しますか？</source>
        <translation>The animation has been changed.
Save it?</translation>
    </message>
    <message>
        <source>変更を反映させるにあたり、大きく書き換える必要があります。
よろしいですか？
※この操作は戻すことができません。</source>
        <translation>Applying the change rewrites a large part of the animation.
Continue?
Note: this cannot be undone.</translation>
    </message>
    <message>
        <source>画像,演出,キーフレーム</source>
        <translation>Pictures,Effects,Key frames</translation>
    </message>
    <message>
        <source>No,Path,XY,Hue,Cut</source>
        <translation>No,Path,XY,Hue,Cut</translation>
    </message>
    <message>
        <source>F,SE,-,Flash,Other</source>
        <translation>F,SE,-,Flash,Other</translation>
    </message>
    <message>
        <source>画像番号,パターン,描画方式,座標X,座標Y,拡大X,拡大Y,角度,不透明,赤,緑,青,彩度</source>
        <translation>Picture,Pattern,Blend,X,Y,Scale X,Scale Y,Angle,Opacity,Red,Green,Blue,Saturation</translation>
    </message>
    <message>
        <source>最初のフレームへ,前のフレームへ,次のフレームへ,最後のフレームへ,フレームを自動で追加する,挿入,削除,クリア,前フレームからコピー,次フレームからコピー,前後フレームで補完</source>
        <translation>First frame,Previous frame,Next frame,Last frame,Add frames automatically,Insert,Delete,Clear,Copy from previous frame,Copy from next frame,Interpolate from neighbouring frames</translation>
    </message>
    <message>
        <source>前のフレームを表示,現在のフレーム枠を表示,次のフレームを表示,軌跡を表示,対象を表示,GIFアニメーションを表示,線を表示</source>
        <translation>Show previous frame,Show current frame outlines,Show next frame,Show motion paths,Show target,Show GIF animation,Show lines</translation>
    </message>
    <message>
        <source>セルを移動,セルを振り回す,曲線補完</source>
        <translation>Move cells,Swing cells,Curve interpolation</translation>
    </message>
    <message>
        <source>最初から再生,再生/停止,往復,繰り返し,効果音,画面効果</source>
        <translation>Play from the beginning,Play/Stop,Bounce,Loop,Sound effects,Screen effects</translation>
    </message>
    <message>
        <source>ファイルを開けませんでした。: %s</source>
        <translation>Could not open the file.: %s</translation>
    </message>
    <message>
        <source>%s : インポートに成功しました</source>
        <translation>%s : imported</translation>
    </message>
    <message>
        <source>&lt; ! &gt; %s : インポートに失敗</source>
        <translation>&lt; ! &gt; %s : import failed</translation>
    </message>
    <message>
        <source>%s : エクスポートに成功しました</source>
        <translation>%s : exported</translation>
    </message>
    <message>
        <source>&lt; ! &gt; %s : エクスポートに失敗</source>
        <translation>&lt; ! &gt; %s : export failed</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 戻れません</source>
        <translation>&lt; ! &gt; Nothing to undo</translation>
    </message>
    <message>
        <source>一つ戻りました</source>
        <translation>Undone one step</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 直せません</source>
        <translation>&lt; ! &gt; Nothing to redo</translation>
    </message>
    <message>
        <source>一つ やり直しました</source>
        <translation>Redone one step</translation>
    </message>
    <message>
        <source>再読込が完了 : %d</source>
        <translation>Reloaded : %d</translation>
    </message>
    <message>
        <source>[%d] : コピー</source>
        <translation>[%d] : copied</translation>
    </message>
    <message>
        <source>[%d] : 貼り付け</source>
        <translation>[%d] : pasted</translation>
    </message>
    <message>
        <source>[%d] : 切り取り</source>
        <translation>[%d] : cut</translation>
    </message>
    <message>
        <source>[%d] : 削除</source>
        <translation>[%d] : deleted</translation>
    </message>
    <message>
        <source>&lt; ! &gt; [%d:%d] : 処理に失敗</source>
        <translation>&lt; ! &gt; [%d:%d] : failed</translation>
    </message>
    <message>
        <source>フレーム [%d]～[%d] に インターバル[%d] を入力しました</source>
        <translation>Frames [%d]-[%d] : interval set to [%d]</translation>
    </message>
    <message>
        <source>読み込みました &gt; %s</source>
        <translation>Loaded &gt; %s</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 読み込みに失敗 &gt; %s</source>
        <translation>&lt; ! &gt; Could not load &gt; %s</translation>
    </message>
    <message>
        <source>保存しました &gt; %s</source>
        <translation>Saved &gt; %s</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 保存に失敗 &gt; %s</source>
        <translation>&lt; ! &gt; Could not save &gt; %s</translation>
    </message>
    <message>
        <source>初期化しました</source>
        <translation>Cleared</translation>
    </message>
    <message>
        <source>通常,加算,減算,乗算,スクリーン</source>
        <translation>Normal,Add,Subtract,Multiply,Screen</translation>
    </message>
    <message>
        <source>枚数を指定,幅を指定</source>
        <translation>By count,By width</translation>
    </message>
    <message>
        <source>中心,画面,下,上,右,左</source>
        <translation>Centre,Screen,Bottom,Top,Right,Left</translation>
    </message>
    <message>
        <source>60 fps,55 fps,40 fps,30 fps,20 fps,15 fps,10 fps</source>
        <translation>60 fps,55 fps,40 fps,30 fps,20 fps,15 fps,10 fps</translation>
    </message>
    <message>
        <source>画面,対象,対象消去</source>
        <translation>Screen,Target,Hide target</translation>
    </message>
    <message>
        <source>バイナリ,テキスト</source>
        <translation>Binary,Text</translation>
    </message>
    <message>
        <source>制限なし,固定,左右反転,角度,角度不能</source>
        <translation>Free,Fixed,Mirror,Angle,No angle</translation>
    </message>
    <message>
        <source>座標,拡大,角度</source>
        <translation>Pos,Scale,Angle</translation>
    </message>
    <message>
        <source>インターバル</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>25%,50%,100%,200%,400%</source>
        <translation>25%,50%,100%,200%,400%</translation>
    </message>
    <message>
        <source>画像のα値,パレット０番,左上１ドット,黒,自動</source>
        <translation>Picture alpha,Palette colour 0,Top-left pixel,Black,Automatic</translation>
    </message>
    <message>
        <source>全ての要素,画像/パターンを無視,画像/パターン/色を無視</source>
        <translation>Everything,Ignore picture/pattern,Ignore picture/pattern/colour</translation>
    </message>
    <message>
        <source>RPGツクールXP [戦闘アニメ]</source>
        <translation>RPG Maker XP [battle animation]</translation>
    </message>
    <message>
        <source>RPGツクールVX [戦闘アニメ]</source>
        <translation>RPG Maker VX [battle animation]</translation>
    </message>
    <message>
        <source>RPGツクールVXAce [戦闘アニメ]</source>
        <translation>RPG Maker VX Ace [battle animation]</translation>
    </message>
    <message>
        <source>RPGツクールXP / VX / VXAce [戦闘アニメ]</source>
        <translation>RPG Maker XP / VX / VX Ace [battle animation]</translation>
    </message>
    <message>
        <source>RPGツクールMV [戦闘アニメ]</source>
        <translation>RPG Maker MV [battle animation]</translation>
    </message>
    <message>
        <source>RPGツクールMZ [戦闘アニメ]</source>
        <translation>RPG Maker MZ [battle animation]</translation>
    </message>
    <message>
        <source>フレーム[%d]に挿入しました</source>
        <translation>Inserted frame [%d]</translation>
    </message>
    <message>
        <source>フレーム[%d]を削除しました</source>
        <translation>Deleted frame [%d]</translation>
    </message>
    <message>
        <source>フレーム[%d]をクリアしました</source>
        <translation>Cleared frame [%d]</translation>
    </message>
    <message>
        <source>フレーム[%d]を[%d]へコピーしました</source>
        <translation>Copied frame [%d] to [%d]</translation>
    </message>
    <message>
        <source>フレーム[%d]に補完処理を行いました</source>
        <translation>Interpolated frame [%d]</translation>
    </message>
    <message>
        <source>[%d] : 前後F で補完</source>
        <translation>[%d] : interpolated from neighbouring frames</translation>
    </message>
    <message>
        <source>フレーム [%d]～[%d] に補完処理 &gt;&gt; セル [%d] 枚を編集しました</source>
        <translation>Interpolated frames [%d]-[%d] &gt;&gt; edited [%d] cells</translation>
    </message>
    <message>
        <source>一括処理 &gt;&gt; ｾﾙ [%d] 枚を編集しました</source>
        <translation>Batch edit &gt;&gt; edited [%d] cells</translation>
    </message>
    <message>
        <source>スプライン曲線 &gt;&gt; ｾﾙ [%d] 枚を編集しました</source>
        <translation>Spline curve &gt;&gt; edited [%d] cells</translation>
    </message>
    <message>
        <source>ユーザーデータ</source>
        <translation>user data</translation>
    </message>
    <message>
        <source>メモ</source>
        <translation>note</translation>
    </message>
    <message>
        <source>復元しました &gt; %s</source>
        <translation>Restored &gt; %s</translation>
    </message>
    <message>
        <source>%s : 改行は保存できません</source>
        <translation>%s : line breaks cannot be saved</translation>
    </message>
    <message>
        <source>長すぎるテキストを %zu バイトに切りました</source>
        <translation>A text that was too long was cut to %zu bytes</translation>
    </message>
    <message>
        <source>(無題)</source>
        <translation>(untitled)</translation>
    </message>
    <message>
        <source>前回、保存されないまま終了した作業があります。
%s
(%s に自動保存)
復元しますか？</source>
        <translation>The editor last ended with unsaved work.
%s
(saved automatically at %s)
Restore it?</translation>
    </message>
    <message>
        <source>画像を読み込めません &gt; %s</source>
        <translation>Cannot read the picture &gt; %s</translation>
    </message>
    <message>
        <source>画像が見つかりません &gt; %s</source>
        <translation>Picture not found &gt; %s</translation>
    </message>
    <message>
        <source> (ほか %d 枚)</source>
        <translation> (and %d more)</translation>
    </message>
    <message>
        <source>RPGツクールMV / MZ [戦闘アニメ]</source>
        <translation>RPG Maker MV / MZ [battle animation]</translation>
    </message>
    <message>
        <source>&lt; ! &gt; フォルダを開けるプログラムがありません &gt; %s</source>
        <translation>&lt; ! &gt; No program can open the folder &gt; %s</translation>
    </message>
    <message>
        <source>ゲームのデータ(*.json,rxdata,rvdata,rvdata2,ldb)</source>
        <translation>Game data(*.json,rxdata,rvdata,rvdata2,ldb)</translation>
    </message>
    <message>
        <source>ゲームのデータから読み込みました &gt; %s : ID %d</source>
        <translation>Loaded from game data &gt; %s : ID %d</translation>
    </message>
    <message>
        <source>&lt; ! &gt; ゲームのデータへの書き込みに失敗 &gt; %s : ID %d</source>
        <translation>&lt; ! &gt; Writing to game data failed &gt; %s : ID %d</translation>
    </message>
    <message>
        <source>ID %d のアニメーション「%s」を「%s」で上書きしますか?</source>
        <translation>Replace animation %d &quot;%s&quot; with &quot;%s&quot;?</translation>
    </message>
    <message>
        <source>ゲームのデータへ書き込みました &gt; %s : ID %d</source>
        <translation>Written to game data &gt; %s : ID %d</translation>
    </message>
</context>
<context>
    <name>cBaseDlg</name>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>消去</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>cConfPage_Init</name>
    <message>
        <source>初期設定</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>プロジェクトの初期状態</source>
        <translation>A new project starts with</translation>
    </message>
    <message>
        <source> 使う画像をセル番号ごとに固定する</source>
        <translation> Fix the picture used by each cell number</translation>
    </message>
    <message>
        <source>基本インターバル</source>
        <translation>Base interval</translation>
    </message>
    <message>
        <source>セル枚数</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>画像分割数(横,縦)</source>
        <translation>Picture division (across, down)</translation>
    </message>
    <message>
        <source>中心位置</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>分割形式</source>
        <translation>Division</translation>
    </message>
    <message>
        <source>編集形式</source>
        <translation>Editing for</translation>
    </message>
    <message>
        <source>保存形式</source>
        <translation>Save as</translation>
    </message>
</context>
<context>
    <name>cConfPage_Load</name>
    <message>
        <source>読込</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source> 読み込む際にバックアップファイルを生成する</source>
        <translation> Make a backup copy when loading</translation>
    </message>
    <message>
        <source>基底フォルダ名</source>
        <translation>Base folder name</translation>
    </message>
    <message>
        <source>画像フォルダパス</source>
        <translation>Picture folder</translation>
    </message>
    <message>
        <source>音声フォルダパス</source>
        <translation>Sound folder</translation>
    </message>
    <message>
        <source>※ 再読込が必要</source>
        <translation>Note: takes effect after reloading</translation>
    </message>
    <message>
        <source>透過色の判別方法</source>
        <translation>Transparent colour</translation>
    </message>
    <message>
        <source>簡易セル補完</source>
        <translation>Quick cell interpolation</translation>
    </message>
    <message>
        <source> ゲームのデータへ書き込む前に元のファイルを .bak に残す</source>
        <translation> Keep the previous game data file as .bak when writing to it</translation>
    </message>
</context>
<context>
    <name>cConfPage_View</name>
    <message>
        <source>表示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>中心線</source>
        <translation>Centre lines</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>間隔</source>
        <translation>Spacing</translation>
    </message>
    <message>
        <source>色 (0xaarrggbb)</source>
        <translation>Colour (0xaarrggbb)</translation>
    </message>
    <message>
        <source>範囲[x,y]</source>
        <translation>Extent[x,y]</translation>
    </message>
    <message>
        <source>前後セル</source>
        <translation>Neighbouring cells</translation>
    </message>
    <message>
        <source>前F (0xaarrggbb)</source>
        <translation>Previous F (0xaarrggbb)</translation>
    </message>
    <message>
        <source>先F (0xaarrggbb)</source>
        <translation>Next F (0xaarrggbb)</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>※ 次回の起動から有効</source>
        <translation>Note: takes effect at the next start</translation>
    </message>
</context>
<context>
    <name>cDlg_AtOnce</name>
    <message>
        <source>セルを一括編集</source>
        <translation>Edit Cells at Once</translation>
    </message>
    <message>
        <source>代入(=)</source>
        <translation>Set (=)</translation>
    </message>
    <message>
        <source>加算(+=)</source>
        <translation>Add (+=)</translation>
    </message>
    <message>
        <source>割合(*= v/100)</source>
        <translation>Percent (*= v/100)</translation>
    </message>
    <message>
        <source>計算式</source>
        <translation>Formula</translation>
    </message>
    <message>
        <source>値</source>
        <translation>Value</translation>
    </message>
</context>
<context>
    <name>cDlg_Cell</name>
    <message>
        <source>通常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>反転</source>
        <translation>Mirrored</translation>
    </message>
    <message>
        <source>画像</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>パターン</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>拡大X</source>
        <translation>Scale X</translation>
    </message>
    <message>
        <source>拡大Y</source>
        <translation>Scale Y</translation>
    </message>
    <message>
        <source>回転</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>透明</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>合成</source>
        <translation>Blend</translation>
    </message>
    <message>
        <source>色 [0-100-200%] [00-64-C8]</source>
        <translation>Colour [0-100-200%] [00-64-C8]</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>彩</source>
        <translation>Sat.</translation>
    </message>
    <message>
        <source>色ssrrggbb</source>
        <translation>Colour ssrrggbb</translation>
    </message>
    <message>
        <source>前Fから転送</source>
        <translation>From prev F</translation>
    </message>
    <message>
        <source>次Fから転送</source>
        <translation>From next F</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>セル [%1,%2]</source>
        <translation>Cell [%1,%2]</translation>
    </message>
</context>
<context>
    <name>cDlg_FixCell</name>
    <message>
        <source>セルと画像を関連付ける</source>
        <translation>Link Cells and Pictures</translation>
    </message>
    <message>
        <source>セルNo</source>
        <translation>Cell No</translation>
    </message>
    <message>
        <source>画像No</source>
        <translation>Picture No</translation>
    </message>
    <message>
        <source>&lt;&lt; 画像番号</source>
        <translation>&lt;&lt; Picture number</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>cDlg_FixCell_S</name>
    <message>
        <source>画像番号</source>
        <translation>Picture number</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>[%1] セルと画像を固定</source>
        <translation>[%1] Fix Cell and Picture</translation>
    </message>
</context>
<context>
    <name>cDlg_FrameComp</name>
    <message>
        <source>フレーム補完</source>
        <translation>Interpolate Frames</translation>
    </message>
    <message>
        <source>通常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>中割り</source>
        <translation>In-betweens</translation>
    </message>
    <message>
        <source>使用セルのみ</source>
        <translation>Used cells only</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>方法</source>
        <translation>Method</translation>
    </message>
</context>
<context>
    <name>cDlg_GameDataList</name>
    <message>
        <source>書き出すアニメーションを選ぶ</source>
        <translation>Choose the animation to write</translation>
    </message>
    <message>
        <source>開くアニメーションを選ぶ</source>
        <translation>Choose the animation to open</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>フレーム数</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source> (編集できません)</source>
        <translation> (not editable)</translation>
    </message>
    <message>
        <source>(新しいアニメーション)</source>
        <translation>(new animation)</translation>
    </message>
</context>
<context>
    <name>cDlg_Output_Base</name>
    <message>
        <source>自動</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>出力</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 画像出力を中止しました(%1 枚出力済み)</source>
        <translation>&lt; ! &gt; Image export stopped (%1 images written)</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 画像出力を中止しました(ファイルは作成されていません)</source>
        <translation>&lt; ! &gt; Image export stopped (no file was written)</translation>
    </message>
    <message>
        <source>&lt; ! &gt; 画像出力に失敗しました</source>
        <translation>&lt; ! &gt; Image export failed</translation>
    </message>
    <message>
        <source>画像出力完了</source>
        <translation>Image export finished</translation>
    </message>
</context>
<context>
    <name>cDlg_Output_Gif</name>
    <message>
        <source>GIF形式(*.gif)</source>
        <translation>GIF(*.gif)</translation>
    </message>
    <message>
        <source>GIFアニメーション出力</source>
        <translation>Export Animated GIF</translation>
    </message>
    <message>
        <source>6/100s制限</source>
        <translation>6/100 s minimum</translation>
    </message>
    <message>
        <source>透過色にする</source>
        <translation>Transparent background</translation>
    </message>
    <message>
        <source>フラッシュ</source>
        <translation>Flash</translation>
    </message>
    <message>
        <source>対象画像</source>
        <translation>Target picture</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>高画質</source>
        <translation>High quality</translation>
    </message>
    <message>
        <source>1秒</source>
        <translation>Per second</translation>
    </message>
    <message>
        <source>画像倍率 %</source>
        <translation>Scale %</translation>
    </message>
    <message>
        <source>画質</source>
        <translation>Quality</translation>
    </message>
</context>
<context>
    <name>cDlg_Output_Graph</name>
    <message>
        <source>PNG形式(*.png)</source>
        <translation>PNG(*.png)</translation>
    </message>
    <message>
        <source>PNG出力</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>インターバル有効</source>
        <translation>Use intervals</translation>
    </message>
    <message>
        <source>アルファ値を有効</source>
        <translation>Keep alpha</translation>
    </message>
    <message>
        <source>１枚に結合</source>
        <translation>Into one sheet</translation>
    </message>
    <message>
        <source>横 固定</source>
        <translation>Fixed across</translation>
    </message>
    <message>
        <source>縦 固定</source>
        <translation>Fixed down</translation>
    </message>
    <message>
        <source>Ｚ</source>
        <translation>Z</translation>
    </message>
</context>
<context>
    <name>cDlg_Palette</name>
    <message>
        <source>パレット [%1]</source>
        <translation>Palette [%1]</translation>
    </message>
</context>
<context>
    <name>cDlg_Progress</name>
    <message>
        <source>処理中</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>画像作成 %1/%2</source>
        <translation>Drawing images %1/%2</translation>
    </message>
    <message>
        <source>GIF書き出し %1/%2</source>
        <translation>Writing GIF %1/%2</translation>
    </message>
    <message>
        <source>処理中 %1</source>
        <translation>Working %1</translation>
    </message>
</context>
<context>
    <name>cDlg_Project</name>
    <message>
        <source>プロジェクト</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>自動設定</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source> 使う画像をセルごとに固定する(&amp;F)</source>
        <translation> &amp;Fix the picture used by each cell</translation>
    </message>
    <message>
        <source>アニメーションの名前(&amp;N)(64byte)</source>
        <translation>&amp;Name of the animation (64 bytes)</translation>
    </message>
    <message>
        <source>基本インターバル</source>
        <translation>Base interval</translation>
    </message>
    <message>
        <source>総インターバル</source>
        <translation>Total interval</translation>
    </message>
    <message>
        <source>セル枚数</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>中心位置</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>分割形式</source>
        <translation>Division</translation>
    </message>
    <message>
        <source>編集形式</source>
        <translation>Editing for</translation>
    </message>
    <message>
        <source>保存形式</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>ユーザーデータ(&amp;U)(255byte)</source>
        <translation>&amp;User data (255 bytes)</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>cDlg_SetEffect</name>
    <message>
        <source>起動フレーム(&amp;F)</source>
        <translation>Starting &amp;frame</translation>
    </message>
    <message>
        <source>効果音(&amp;S)</source>
        <translation>&amp;Sound Effects</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>周波数</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>バランス</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>フラッシュ(&amp;E)</source>
        <translation>Flash(&amp;E)</translation>
    </message>
    <message>
        <source>描画</source>
        <translation>Blend</translation>
    </message>
    <message>
        <source>赤(R)</source>
        <translation>Red(R)</translation>
    </message>
    <message>
        <source>緑(G)</source>
        <translation>Green(G)</translation>
    </message>
    <message>
        <source>青(B)</source>
        <translation>Blue(B)</translation>
    </message>
    <message>
        <source>強さ(V)</source>
        <translation>Strength(V)</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>対象</source>
        <translation>Scope</translation>
    </message>
    <message>
        <source>ユーザーデータ(&amp;U)(255byte)</source>
        <translation>&amp;User data (255 bytes)</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>効果 : %1</source>
        <translation>Effect : %1</translation>
    </message>
</context>
<context>
    <name>cDlg_SetGif</name>
    <message>
        <source>下書き用のGIFアニメーション</source>
        <translation>Animated GIF as a draft</translation>
    </message>
    <message>
        <source>コマ送り速度(100%)</source>
        <translation>Playback speed (100%)</translation>
    </message>
</context>
<context>
    <name>cDlg_SetInterval</name>
    <message>
        <source>インターバル</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>フレーム(&amp;F)</source>
        <translation>&amp;Frames</translation>
    </message>
    <message>
        <source>インターバル(&amp;I)</source>
        <translation>&amp;Interval</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>cDlg_SetPicture</name>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>分割方法</source>
        <translation>Division</translation>
    </message>
    <message>
        <source>分割数(横,縦)</source>
        <translation>Division (across, down)</translation>
    </message>
    <message>
        <source>色相(度)</source>
        <translation>Hue (degrees)</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>画像 : %1</source>
        <translation>Picture : %1</translation>
    </message>
</context>
<context>
    <name>cDlg_SetTarget</name>
    <message>
        <source>ターゲット</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>効果の対象となる画像</source>
        <translation>Picture the effect is aimed at</translation>
    </message>
    <message>
        <source>補正座標</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>不透明度</source>
        <translation>Opacity</translation>
    </message>
</context>
<context>
    <name>cDlg_SourceList</name>
    <message>
        <source>リスト</source>
        <translation>List</translation>
    </message>
    <message>
        <source>[対象消去,スクリーン](255,255,255,255)@255</source>
        <translation>[Hide target,Screen](255,255,255,255)@255</translation>
    </message>
</context>
<context>
    <name>cDlg_Spline</name>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>セル_%1</source>
        <translation>Cell_%1</translation>
    </message>
</context>
<context>
    <name>cMainWnd</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ツールバーの生成に失敗 
</source>
        <translation>Could not create the toolbars 
</translation>
    </message>
    <message>
        <source>履歴インスタンスの初期化に失敗 
</source>
        <translation>Could not set up the undo history 
</translation>
    </message>
    <message>
        <source>描画インスタンスの初期化に失敗 
</source>
        <translation>Could not set up drawing 
</translation>
    </message>
</context>
<context>
    <name>cProp_Conf</name>
    <message>
        <source>エディタ設定</source>
        <translation>Editor Settings</translation>
    </message>
</context>
<context>
    <name>cPropertyWnd</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
</context>
<context>
    <name>cTool_Play</name>
    <message>
        <source>～</source>
        <translation>~</translation>
    </message>
</context>
<context>
    <name>iFileChooser</name>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
</TS>
