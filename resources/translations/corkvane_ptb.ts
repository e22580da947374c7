<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="pt_BR">
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Unable to write to %1</translation>
    </message>
</context>
<context>
    <name>NoteProtocol</name>
    <message>
        <source>De </source>
        <translation>De </translation>
    </message>
</context>
<context>
    <name>NoteServer</name>
    <message>
        <source>A porta TCP &quot;%1&quot; não é válida: informe um número de 1 a 65535 ou o nome de um serviço TCP.</source>
        <translation>A porta TCP &quot;%1&quot; não é válida: informe um número de 1 a 65535 ou o nome de um serviço TCP.</translation>
    </message>
</context>
<context>
    <name>NoteStore</name>
    <message>
        <source>O arquivo de notas contém mais de %1 notas. Somente as primeiras %1 foram carregadas; as demais permanecem no arquivo, mas não serão exibidas.</source>
        <translation>O arquivo de notas contém mais de %1 notas. Somente as primeiras %1 foram carregadas; as demais permanecem no arquivo, mas não serão exibidas.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Erro</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
</context>
<context>
    <name>TfPostIt</name>
    <message>
        <source>Esconder esta nota</source>
        <translation>Esconder esta nota</translation>
    </message>
    <message>
        <source>Apagar esta nota</source>
        <translation>Apagar esta nota</translation>
    </message>
    <message>
        <source>Abrir &amp;URL</source>
        <translation>Abrir &amp;URL</translation>
    </message>
    <message>
        <source>C&amp;onfigurar...</source>
        <translation>C&amp;onfigurar...</translation>
    </message>
    <message>
        <source>&amp;Título da Nota...</source>
        <translation>&amp;Título da Nota...</translation>
    </message>
    <message>
        <source>Alarme...</source>
        <translation>Alarme...</translation>
    </message>
    <message>
        <source>Sempre &amp;Visível</source>
        <translation>Sempre &amp;Visível</translation>
    </message>
    <message>
        <source>Co&amp;piar</source>
        <translation>Co&amp;piar</translation>
    </message>
    <message>
        <source>C&amp;olar</source>
        <translation>C&amp;olar</translation>
    </message>
    <message>
        <source>Enviar...</source>
        <translation>Enviar...</translation>
    </message>
    <message>
        <source>&amp;Para um Computador...</source>
        <translation>&amp;Para um Computador...</translation>
    </message>
    <message>
        <source>&amp;Responder para Computador...</source>
        <translation>&amp;Responder para Computador...</translation>
    </message>
    <message>
        <source>E-Mail...</source>
        <translation>E-Mail...</translation>
    </message>
    <message>
        <source>&amp;Imprimir</source>
        <translation>&amp;Imprimir</translation>
    </message>
    <message>
        <source>&amp;Apagar Nota...</source>
        <translation>&amp;Apagar Nota...</translation>
    </message>
</context>
<context>
    <name>TfStickyNote</name>
    <message>
        <source>Não é possível criar mais notas nesta sessão: o limite de 1001 notas foi atingido. Salve, feche e abra o Corkvane novamente para reaproveitar as notas apagadas.</source>
        <translation>Não é possível criar mais notas nesta sessão: o limite de 1001 notas foi atingido. Salve, feche e abra o Corkvane novamente para reaproveitar as notas apagadas.</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Deseja realmente eliminar esta nota?</source>
        <translation>Deseja realmente eliminar esta nota?</translation>
    </message>
    <message>
        <source>Selecione o Local para Backup</source>
        <translation>Selecione o Local para Backup</translation>
    </message>
    <message>
        <source>Backup efetuado em </source>
        <translation>Backup efetuado em </translation>
    </message>
</context>
<context>
    <name>TfrmConfNota</name>
    <message>
        <source>minuto(s)</source>
        <translation>minuto(s)</translation>
    </message>
    <message>
        <source>hora(s)</source>
        <translation>hora(s)</translation>
    </message>
    <message>
        <source>dia(s)</source>
        <translation>dia(s)</translation>
    </message>
    <message>
        <source>semana(s)</source>
        <translation>semana(s)</translation>
    </message>
    <message>
        <source>mes(es)</source>
        <translation>mes(es)</translation>
    </message>
    <message>
        <source>Domingo</source>
        <translation>Domingo</translation>
    </message>
    <message>
        <source>Segunda</source>
        <translation>Segunda</translation>
    </message>
    <message>
        <source>Terça</source>
        <translation>Terça</translation>
    </message>
    <message>
        <source>Quarta</source>
        <translation>Quarta</translation>
    </message>
    <message>
        <source>Quinta</source>
        <translation>Quinta</translation>
    </message>
    <message>
        <source>Sexta</source>
        <translation>Sexta</translation>
    </message>
    <message>
        <source>Sábado</source>
        <translation>Sábado</translation>
    </message>
    <message>
        <source>Configurações</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Aparência</source>
        <translation>Aparência</translation>
    </message>
    <message>
        <source>Alarmes</source>
        <translation>Alarmes</translation>
    </message>
    <message>
        <source>Sons</source>
        <translation>Sons</translation>
    </message>
    <message>
        <source>Geral</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>Rede</source>
        <translation>Rede</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Pré-Visualização</source>
        <translation>Pré-Visualização</translation>
    </message>
    <message>
        <source>Exemplo de Nota</source>
        <translation>Exemplo de Nota</translation>
    </message>
    <message>
        <source>C&amp;or de Fundo</source>
        <translation>C&amp;or de Fundo</translation>
    </message>
    <message>
        <source>&amp;Fonte</source>
        <translation>&amp;Fonte</translation>
    </message>
    <message>
        <source>E&amp;xibir Barra de Scroll</source>
        <translation>E&amp;xibir Barra de Scroll</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>&amp;Cor Diferenciada</source>
        <translation>&amp;Cor Diferenciada</translation>
    </message>
    <message>
        <source>Exibir &amp;Data</source>
        <translation>Exibir &amp;Data</translation>
    </message>
    <message>
        <source>Exibir &amp;Hora</source>
        <translation>Exibir &amp;Hora</translation>
    </message>
    <message>
        <source>Habilita Alarme</source>
        <translation>Habilita Alarme</translation>
    </message>
    <message>
        <source>&amp;Data:</source>
        <translation>&amp;Data:</translation>
    </message>
    <message>
        <source>&amp;Hora:</source>
        <translation>&amp;Hora:</translation>
    </message>
    <message>
        <source>Relembrar a cada </source>
        <translation>Relembrar a cada </translation>
    </message>
    <message>
        <source>Dias da Semana:</source>
        <translation>Dias da Semana:</translation>
    </message>
    <message>
        <source>Toca &amp;Som</source>
        <translation>Toca &amp;Som</translation>
    </message>
    <message>
        <source>&amp;Testar</source>
        <translation>&amp;Testar</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Arquivos Wave (*.wav)</source>
        <translation>Arquivos Wave (*.wav)</translation>
    </message>
    <message>
        <source>Este não é um arquivo de som válido!</source>
        <translation>Este não é um arquivo de som válido!</translation>
    </message>
    <message>
        <source>A data e hora selecionada para o alarme é mais antiga que a atual!</source>
        <translation>A data e hora selecionada para o alarme é mais antiga que a atual!</translation>
    </message>
</context>
<context>
    <name>TfrmMostraAlarmes</name>
    <message>
        <source>Tarefas para Hoje</source>
        <translation>Tarefas para Hoje</translation>
    </message>
    <message>
        <source>&amp;Visualizar</source>
        <translation>&amp;Visualizar</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Fechar</translation>
    </message>
</context>
<context>
    <name>TfrmMudaCaption</name>
    <message>
        <source>Muda Título</source>
        <translation>Muda Título</translation>
    </message>
    <message>
        <source>&amp;Título da Nota:</source>
        <translation>&amp;Título da Nota:</translation>
    </message>
    <message>
        <source>&amp;Padrão</source>
        <translation>&amp;Padrão</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>TfrmSobre</name>
    <message>
        <source>https://www.corkvane.org/</source>
        <translation>https://www.corkvane.org/</translation>
    </message>
    <message>
        <source>Sobre o Sistema</source>
        <translation>Sobre o Sistema</translation>
    </message>
    <message>
        <source>Versão:</source>
        <translation>Versão:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Aqui fica a versão</source>
        <translation>Aqui fica a versão</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Duplo-clique para criar nota</source>
        <translation>Duplo-clique para criar nota</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&lt;Todos&gt;</source>
        <translation>&lt;Todos&gt;</translation>
    </message>
    <message>
        <source>&amp;Nova Nota</source>
        <translation>&amp;Nova Nota</translation>
    </message>
    <message>
        <source>Mo&amp;strar</source>
        <translation>Mo&amp;strar</translation>
    </message>
    <message>
        <source>M&amp;ostrar Escondidas</source>
        <translation>M&amp;ostrar Escondidas</translation>
    </message>
    <message>
        <source>Mostrar Tarefas para &amp;Hoje</source>
        <translation>Mostrar Tarefas para &amp;Hoje</translation>
    </message>
    <message>
        <source>Salvar A&amp;gora</source>
        <translation>Salvar A&amp;gora</translation>
    </message>
    <message>
        <source>Cópia de &amp;Segurança</source>
        <translation>Cópia de &amp;Segurança</translation>
    </message>
    <message>
        <source>&amp;Salvar</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>&amp;Caderneta de Contatos</source>
        <translation>&amp;Caderneta de Contatos</translation>
    </message>
    <message>
        <source>&amp;Preferências...</source>
        <translation>&amp;Preferências...</translation>
    </message>
    <message>
        <source>&amp;Idioma</source>
        <translation>&amp;Idioma</translation>
    </message>
    <message>
        <source>Português</source>
        <translation>Português</translation>
    </message>
    <message>
        <source>Inglês</source>
        <translation>Inglês</translation>
    </message>
    <message>
        <source>Corkvane na Web...</source>
        <translation>Corkvane na Web...</translation>
    </message>
    <message>
        <source>Sobre o Sistema...</source>
        <translation>Sobre o Sistema...</translation>
    </message>
    <message>
        <source>A&amp;juda</source>
        <translation>A&amp;juda</translation>
    </message>
    <message>
        <source>&amp;Sair</source>
        <translation>&amp;Sair</translation>
    </message>
</context>
</TS>
