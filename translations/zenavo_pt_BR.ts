<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>zenavo</name>
    <message>
        <source>Unknown error</source>
        <translation>Erro desconhecido</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>&apos;%1&apos; não é um número válido</translation>
    </message>
    <message>
        <source>Invalid floating point operation</source>
        <translation>Operação matemática inválida</translation>
    </message>
    <message>
        <source>Floating point division by zero</source>
        <translation>Divisão por zero</translation>
    </message>
    <message>
        <source>Floating point overflow</source>
        <translation>Resultado numérico grande demais</translation>
    </message>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>Item fora da lista (%1)</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Não foi possível abrir o arquivo &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <comment>magc result</comment>
        <translation>A calculadora magc não produziu resultado: %2</translation>
    </message>
    <message>
        <source>Read error on file &quot;%1&quot;. %2</source>
        <translation>Erro ao ler o arquivo &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Cannot create a working folder in &quot;%1&quot;. %2</source>
        <translation>Não foi possível preparar a calculadora magc: sua pasta de trabalho não pôde ser criada (%2)</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Não foi possível abrir o arquivo %1</translation>
    </message>
    <message>
        <source>Cannot Create file %1</source>
        <translation>Não foi possível criar o arquivo %1</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>O disco está cheio</translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <translation>Erro de leitura ou gravação %1</translation>
    </message>
    <message>
        <source>Grid index out of range</source>
        <translation>Linha fora da tabela</translation>
    </message>
    <message>
        <source>Value out of range.</source>
        <translation>Valor fora do intervalo.</translation>
    </message>
    <message>
        <source>Could not execute command line!</source>
        <translation>Não foi possível executar a calculadora magc!</translation>
    </message>
    <message>
        <source>Cannot read the data file &quot;%1&quot; (%2). The tables are loaded from &quot;%3&quot; and &quot;%4&quot; instead, whose numbers have a decimal comma: where numbers have a decimal point, &quot;Calcular&quot; cannot read them</source>
        <translation>Não foi possível ler o arquivo de dados &quot;%1&quot; (%2). As tabelas foram carregadas de &quot;%3&quot; e &quot;%4&quot;, que escrevem os números com vírgula decimal: com o ponto decimal deste sistema, &quot;Calcular&quot; não consegue lê-los</translation>
    </message>
    <message>
        <source>%1 did not finish within %2 s and was stopped.</source>
        <translation>A calculadora magc não terminou em %2 s e foi interrompida.</translation>
    </message>
    <message>
        <source>The city file &quot;%1&quot; holds no city</source>
        <translation>O arquivo de cidades &quot;%1&quot; não tem nenhuma cidade</translation>
    </message>
    <message>
        <source>The city file &quot;%1&quot; is damaged: line %2 is not a city (name, state, latitude, longitude, altitude)</source>
        <translation>O arquivo de cidades &quot;%1&quot; está danificado: a linha %2 não é uma cidade (nome, estado, latitude, longitude, altitude)</translation>
    </message>
    <message>
        <source>There is no printer selected</source>
        <translation>Nenhuma impressora foi escolhida</translation>
    </message>
    <message>
        <source>Printing on the printer &quot;%1&quot; could not start: %2</source>
        <translation>A impressão na impressora &quot;%1&quot; não pôde começar: %2</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; does not accept jobs: %2</source>
        <translation>A impressora &quot;%1&quot; não está aceitando trabalhos: %2</translation>
    </message>
    <message>
        <source>The print job on the printer &quot;%1&quot; failed: %2</source>
        <translation>O trabalho de impressão na impressora &quot;%1&quot; falhou: %2</translation>
    </message>
    <message>
        <source>The altitude %1 m lies outside -500 to 9,000 m; type the site&apos;s altitude in metres</source>
        <translation>A altitude %1 m está fora do intervalo de -500 a 9.000 m; digite a altitude do local em metros</translation>
    </message>
    <message>
        <source>A satellite position must be a number from -360 to 360; these rows have no results: %1</source>
        <translation>A posição de um satélite deve ser um número de -360 a 360; estas linhas ficaram sem resultados: %1</translation>
    </message>
    <message>
        <source>The declination calculator gave no magnetic declination for this site, so the magnetic azimuths are left empty</source>
        <translation>A calculadora magc não deu a declinação magnética deste local; por isso os azimutes magnéticos ficaram em branco</translation>
    </message>
    <message>
        <source>It is a named pipe, not a regular file</source>
        <comment>reason</comment>
        <translation>É um pipe nomeado, não um arquivo comum</translation>
    </message>
    <message>
        <source>It is a device, not a regular file</source>
        <comment>reason</comment>
        <translation>É um dispositivo, não um arquivo comum</translation>
    </message>
    <message>
        <source>It is not a regular file</source>
        <comment>reason</comment>
        <translation>Não é um arquivo comum</translation>
    </message>
</context>
</TS>
